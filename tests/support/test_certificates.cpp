#include "support/test_certificates.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

namespace fs = std::filesystem;

namespace {
std::string shellQuoted(const std::string& s) { return "'" + s + "'"; }
}  // namespace

TestCertificates::TestCertificates() {
    static std::atomic<int> counter{0};
    dir_ =
        (fs::temp_directory_path() / ("mxa07300_tls_" + std::to_string(::getpid()) + "_" + std::to_string(counter++)))
            .string();
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    caFile_ = dir_ + "/ca.crt";
    caKey_ = dir_ + "/ca.key";
    // EC keys: made in milliseconds, where RSA would slow every test down.
    openssl(
        "req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj '/CN=Fabrica Teste CA'"
        " -keyout " +
        shellQuoted(caKey_) + " -out " + shellQuoted(caFile_));
}

TestCertificates::~TestCertificates() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

TlsFiles TestCertificates::serverFiles(const std::string& name, const std::string& altName) {
    const std::string base = dir_ + "/" + name;
    const std::string cn = altName.substr(altName.find(':') + 1);
    {
        std::ofstream ext(base + ".ext");
        ext << "subjectAltName=" << altName << "\n"
            << "basicConstraints=CA:FALSE\n"
            << "keyUsage=digitalSignature,keyEncipherment\n"
            << "extendedKeyUsage=serverAuth\n";
    }
    openssl("req -new -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -subj " + shellQuoted("/CN=" + cn) +
            " -keyout " + shellQuoted(base + ".key") + " -out " + shellQuoted(base + ".csr"));
    openssl("x509 -req -days 2 -in " + shellQuoted(base + ".csr") + " -CA " + shellQuoted(caFile_) + " -CAkey " +
            shellQuoted(caKey_) + " -CAcreateserial -extfile " + shellQuoted(base + ".ext") + " -out " +
            shellQuoted(base + ".crt"));
    return {base + ".crt", base + ".key", caFile_};
}

void TestCertificates::openssl(const std::string& args) {
    const std::string log = dir_ + "/openssl.log";
    const std::string command = "openssl " + args + " >" + shellQuoted(log) + " 2>&1";
    if (std::system(command.c_str()) != 0) {
        std::ifstream in(log);
        std::stringstream out;
        out << in.rdbuf();
        throw std::runtime_error("openssl falhou (" + command + "): " + out.str());
    }
}

}  // namespace testsupport

#pragma once
#include <string>

#include "support/test_server.h"

namespace testsupport {

// A certificate authority of the test's own, made with the openssl command in a
// temporary folder that is removed at the end, and server certificates it signs,
// the way the README makes them for a factory network.
class TestCertificates {
public:
    TestCertificates();
    ~TestCertificates();
    TestCertificates(const TestCertificates&) = delete;
    TestCertificates& operator=(const TestCertificates&) = delete;

    const std::string& caFile() const { return caFile_; }
    // A new key and a certificate signed by this authority for `altName`
    // ("IP:127.0.0.1", "DNS:host"), which is also its common name; `name` names the files.
    TlsFiles serverFiles(const std::string& name = "server", const std::string& altName = "IP:127.0.0.1");
    const std::string& dir() const { return dir_; }
    // Runs the openssl command with `args`; throws with its output when it fails.
    void openssl(const std::string& args);

private:
    std::string dir_;
    std::string caFile_, caKey_;
};

}  // namespace testsupport

#include "appserver/tls_files.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace appserver {

namespace {

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

File openFile(const std::string& path, const std::string& what) {
    File f(std::fopen(path.c_str(), "r"));
    if (!f)
        throw std::runtime_error("Não foi possível ler " + what + " \"" + path + "\": " + std::strerror(errno) + ".");
    return f;
}

// A key with a passphrase would make OpenSSL ask for it on the terminal, which a
// service cannot answer: it is refused instead.
int noPassphrase(char*, int, int, void*) { return 0; }

}  // namespace

void checkTlsFiles(const std::string& certFile, const std::string& keyFile) {
    if (certFile.empty() && keyFile.empty()) return;
    if (keyFile.empty())
        throw std::runtime_error("Certificado TLS \"" + certFile + "\" informado sem a chave privada (--tls-key).");
    if (certFile.empty())
        throw std::runtime_error("Chave privada TLS \"" + keyFile + "\" informada sem o certificado (--tls-cert).");

    File cf = openFile(certFile, "o certificado TLS");
    std::unique_ptr<X509, decltype(&X509_free)> cert(PEM_read_X509(cf.get(), nullptr, noPassphrase, nullptr),
                                                     X509_free);
    if (!cert) {
        ERR_clear_error();
        throw std::runtime_error("O arquivo \"" + certFile + "\" não contém um certificado TLS em formato PEM.");
    }

    File kf = openFile(keyFile, "a chave privada TLS");
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
        PEM_read_PrivateKey(kf.get(), nullptr, noPassphrase, nullptr), EVP_PKEY_free);
    if (!key) {
        ERR_clear_error();
        throw std::runtime_error("O arquivo \"" + keyFile +
                                 "\" não contém uma chave privada TLS em formato PEM sem senha.");
    }
    if (X509_check_private_key(cert.get(), key.get()) != 1) {
        ERR_clear_error();
        throw std::runtime_error("A chave privada TLS \"" + keyFile + "\" não corresponde ao certificado \"" +
                                 certFile + "\".");
    }
}

}  // namespace appserver

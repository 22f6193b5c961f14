#include "platform/server_client.h"

#include <openssl/x509_vfy.h>

#include <fstream>

#include "core/error.h"

namespace platform {

namespace {

std::string where(const std::string& host, int port) { return host + ":" + std::to_string(port); }

std::string untrustedReason(long verify, const std::string& host) {
    switch (verify) {
        case X509_V_OK:  // the chain is trusted, so the host name is what failed
            return "o certificado não é do endereço " + host;
        case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
        case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
        case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
            return "foi emitido por uma autoridade certificadora desconhecida (informe-a com --ca ou instale-a no "
                   "sistema)";
        case X509_V_ERR_CERT_HAS_EXPIRED:
            return "o certificado venceu";
        case X509_V_ERR_CERT_NOT_YET_VALID:
            return "o certificado ainda não é válido";
        default:
            return X509_verify_cert_error_string(verify);
    }
}

}  // namespace

std::unique_ptr<httplib::Client> makeServerClient(const std::string& host, int port, bool tls,
                                                  const std::string& caFile) {
    if (!tls) return std::make_unique<httplib::Client>(host, port);
    if (!caFile.empty() && !std::ifstream(caFile))
        throw core::Error("Não foi possível ler o certificado da autoridade certificadora \"" + caFile + "\".");
    // An IPv6 address is bracketed in a URL.
    const bool ipv6 = host.find(':') != std::string::npos && host.front() != '[';
    auto client =
        std::make_unique<httplib::Client>("https://" + (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port));
    client->enable_server_certificate_verification(true);
    if (!caFile.empty()) client->set_ca_cert_path(caFile);
    return client;
}

std::string transportFailure(const httplib::Client& client, httplib::Error error, const std::string& host, int port,
                             bool tls, const std::string& caFile) {
    using httplib::Error;
    if (!tls) {
        // Connected, then closed without an answer: an HTTPS server drops a plain request.
        if (error == Error::Read)
            return "O servidor de aplicação " + where(host, port) +
                   " não respondeu por HTTP; se ele atende por HTTPS, use https://" + where(host, port) + ".";
        return {};
    }
    switch (error) {
        case Error::SSLServerVerification:
            return "Certificado do servidor de aplicação " + where(host, port) +
                   " não é confiável: " + untrustedReason(client.get_openssl_verify_result(), host) + ".";
        case Error::SSLLoadingCerts:
            return "O arquivo \"" + caFile + "\" não contém certificados de autoridade certificadora em formato PEM.";
        case Error::SSLConnection:
            return "Não foi possível estabelecer conexão HTTPS com o servidor de aplicação " + where(host, port) +
                   " (ele atende por HTTPS?).";
        default:
            return {};
    }
}

}  // namespace platform

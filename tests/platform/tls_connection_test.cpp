#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "platform/host.h"
#include "platform/netconnection.h"
#include "platform/services.h"
#include "support/test_certificates.h"
#include "support/test_server.h"

using namespace platform;

namespace {

// What Open() of a connection to the loopback port says; empty when it connected.
std::string openRefusal(int port, bool tls, const std::string& caFile) {
    TNetConnection conn("MXA07300.Host");
    conn.Port = port;
    conn.Tls = tls;
    conn.CaFile = caFile;
    try {
        conn.Open();
    } catch (const core::Error& e) {
        EXPECT_FALSE(conn.Connected());
        return e.what();
    }
    return {};
}

}  // namespace

TEST(TlsConnection, OnlyAVerifiedServerIsReached) {
    testsupport::TestCertificates ca, stranger;
    testsupport::TestServer server(true, ca.serverFiles());
    const int port = server.port();
    const std::string where = "127.0.0.1:" + std::to_string(port);

    // The session's transport reaches the screens' connections: a call goes through.
    EXPECT_GT(DtServ().days, 40000);
    TNetConnection screenConn;
    pointAtSessionServer(screenConn);
    EXPECT_TRUE(screenConn.Tls);
    EXPECT_EQ(screenConn.CaFile, ca.caFile());

    const std::string untrusted = "Certificado do servidor de aplicação " + where +
                                  " não é confiável: foi emitido por uma autoridade certificadora desconhecida "
                                  "(informe-a com --ca ou instale-a no sistema).";
    EXPECT_EQ(openRefusal(port, true, ca.caFile()), "");
    EXPECT_EQ(openRefusal(port, true, ""), untrusted);  // the system's store does not know it
    EXPECT_EQ(openRefusal(port, true, stranger.caFile()), untrusted);

    const std::string noFile = ca.dir() + "/nenhuma.crt";
    EXPECT_EQ(openRefusal(port, true, noFile),
              "Não foi possível ler o certificado da autoridade certificadora \"" + noFile + "\".");
    EXPECT_EQ(openRefusal(port, true, ca.dir() + "/server.key"),
              "O arquivo \"" + ca.dir() +
                  "/server.key\" não contém certificados de autoridade certificadora "
                  "em formato PEM.");

    // Plain HTTP is never tried in its place, and plain HTTP to it gets a hint.
    EXPECT_EQ(openRefusal(port, false, ""), "O servidor de aplicação " + where +
                                                " não respondeu por HTTP; se ele atende por HTTPS, use https://" +
                                                where + ".");
}

TEST(TlsConnection, CertificateOfAnotherHostAndPlainServerAreRefused) {
    testsupport::TestCertificates ca;
    {
        // Signed by the trusted authority, but for another name.
        testsupport::TestServer server(false, ca.serverFiles("elsewhere", "DNS:elsewhere.example"));
        EXPECT_EQ(openRefusal(server.port(), true, ca.caFile()),
                  "Certificado do servidor de aplicação 127.0.0.1:" + std::to_string(server.port()) +
                      " não é confiável: o certificado não é do endereço 127.0.0.1.");
    }
    testsupport::TestServer plainServer(false);
    EXPECT_EQ(openRefusal(plainServer.port(), true, ca.caFile()),
              "Não foi possível estabelecer conexão HTTPS com o servidor de aplicação 127.0.0.1:" +
                  std::to_string(plainServer.port()) + " (ele atende por HTTPS?).");
}

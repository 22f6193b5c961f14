#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <spdlog/spdlog.h>

#include <string>

#include "appserver/server.h"
#include "support/test_certificates.h"
#include "support/test_server.h"

namespace {

// What start() says when given this certificate and key; empty when it starts.
std::string startRefusal(const std::string& db, const std::string& cert, const std::string& key) {
    appserver::Options o;
    o.db = db;
    o.tlsCert = cert;
    o.tlsKey = key;
    appserver::Server server(o);
    try {
        server.start();
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

}  // namespace

TEST(TlsServerStart, RefusesWhatCannotServeHttpsNamingTheFile) {
    spdlog::set_level(spdlog::level::warn);  // the one start that succeeds logs its migrations
    testsupport::TestDatabase db;
    testsupport::TestCertificates ca;
    const auto good = ca.serverFiles();
    const auto other = ca.serverFiles("other");
    const std::string missing = ca.dir() + "/nenhum.crt";

    EXPECT_EQ(startRefusal(db.address(), good.cert, good.key), "");

    EXPECT_EQ(startRefusal(db.address(), good.cert, ""),
              "Certificado TLS \"" + good.cert + "\" informado sem a chave privada (--tls-key).");
    EXPECT_EQ(startRefusal(db.address(), "", good.key),
              "Chave privada TLS \"" + good.key + "\" informada sem o certificado (--tls-cert).");
    // The system's reason follows, in the locale's words.
    EXPECT_THAT(startRefusal(db.address(), missing, good.key),
                testing::StartsWith("Não foi possível ler o certificado TLS \"" + missing + "\": "));
    EXPECT_THAT(startRefusal(db.address(), good.cert, missing),
                testing::StartsWith("Não foi possível ler a chave privada TLS \"" + missing + "\": "));
    // Each file where the other belongs, and a folder: not what the name promises.
    EXPECT_EQ(startRefusal(db.address(), good.key, good.cert),
              "O arquivo \"" + good.key + "\" não contém um certificado TLS em formato PEM.");
    EXPECT_EQ(startRefusal(db.address(), good.cert, good.cert),
              "O arquivo \"" + good.cert + "\" não contém uma chave privada TLS em formato PEM sem senha.");
    EXPECT_EQ(startRefusal(db.address(), ca.dir(), good.key),
              "O arquivo \"" + ca.dir() + "\" não contém um certificado TLS em formato PEM.");
    // A key behind a passphrase: nobody is there to type it.
    const std::string locked = ca.dir() + "/locked.key";
    ca.openssl("pkey -in '" + good.key + "' -aes256 -passout pass:segredo -out '" + locked + "'");
    EXPECT_EQ(startRefusal(db.address(), good.cert, locked),
              "O arquivo \"" + locked + "\" não contém uma chave privada TLS em formato PEM sem senha.");
    // A key of another certificate.
    EXPECT_EQ(startRefusal(db.address(), good.cert, other.key),
              "A chave privada TLS \"" + other.key + "\" não corresponde ao certificado \"" + good.cert + "\".");
}

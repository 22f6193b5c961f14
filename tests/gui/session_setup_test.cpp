// Where the program finds its server: the address it is given and the login over it.
#include "gui/session_setup.h"

#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "platform/host.h"
#include "platform/session_login.h"
#include "support/test_certificates.h"
#include "support/test_server.h"

namespace {

std::string refusalOf(const std::string& address) {
    try {
        gui::parseServerAddress(address);
    } catch (const core::Error& e) {
        return e.what();
    }
    return {};
}

TEST(ServerAddress, SchemeHostAndPort) {
    auto e = gui::parseServerAddress("serverhost:8210");
    EXPECT_EQ(e.serverHost, "serverhost");
    EXPECT_EQ(e.serverPort, 8210);
    EXPECT_FALSE(e.tls);
    e = gui::parseServerAddress("http://10.0.0.5:8087");
    EXPECT_EQ(e.serverHost, "10.0.0.5");
    EXPECT_FALSE(e.tls);
    e = gui::parseServerAddress("https://serverhost.fabrica.local:443");
    EXPECT_EQ(e.serverHost, "serverhost.fabrica.local");
    EXPECT_EQ(e.serverPort, 443);
    EXPECT_TRUE(e.tls);

    EXPECT_EQ(refusalOf("ftp://serverhost:21"),
              "Endereço do servidor inválido: \"ftp://serverhost:21\". Use http:// ou https://.");
    // A scheme does not make the port optional.
    EXPECT_EQ(refusalOf("https://serverhost"),
              "Endereço do servidor inválido: \"https://serverhost\". Use HOST:PORTA ou https://HOST:PORTA.");
    EXPECT_NE(refusalOf("https://:8210"), "");
    EXPECT_NE(refusalOf("https://serverhost:8210/"), "");
}

TEST(ServerAddress, LoginOverHttpsTrustsOnlyTheGivenAuthority) {
    testsupport::TestCertificates ca;
    testsupport::TestServer server(true, ca.serverFiles());
    const std::string address = "https://127.0.0.1:" + std::to_string(server.port());

    auto e = gui::parseServerAddress(address);
    gui::useEndpoint(e);  // no --ca: the system's store, which does not know this authority
    const auto refused = platform::login("DEMO", "demo");
    ASSERT_TRUE(refused.has_value());
    EXPECT_NE(refused->find("não é confiável"), std::string::npos) << *refused;

    e.caFile = ca.caFile();
    gui::useEndpoint(e);
    platform::session().operador.clear();
    const auto answer = platform::login("DEMO", "demo");
    EXPECT_FALSE(answer.has_value()) << *answer;
    EXPECT_EQ(platform::session().operador, "DEMO");
}

}  // namespace

#include <gtest/gtest.h>

#include "platform/host.h"
#include "platform/netconnection.h"
#include "platform/services.h"
#include "platform/session_login.h"
#include "screen/request_save_fixture.h"
#include "screen/side_dialogs.h"
#include "support/test_certificates.h"

namespace savetest {
namespace {

// The screen over an HTTPS server whose certificate, made for this test, the session
// trusts through its certificate authority file.
class HttpsFlow : public SaveFlow {
protected:
    void SetUp() override {
        serverTls = certificates.serverFiles();
        SaveFlow::SetUp();
    }
    void TearDown() override {
        screen::sideDialogs().LiberaFiltroPedido();
        SaveFlow::TearDown();
    }
    testsupport::TestCertificates certificates;
};

TEST_F(HttpsFlow, LoginFilterAndSaveGoOverHttps) {
    ASSERT_TRUE(platform::session().webTls);
    ASSERT_TRUE(s().netPedidoAna.Connected());
    EXPECT_TRUE(s().netPedidoAna.Tls);

    // Login, as the program's login does; the rest of the flow runs in the session it opened.
    const std::string before = platform::session().token;
    ASSERT_EQ(platform::login("DEMO", "demo"), std::nullopt);
    EXPECT_NE(platform::session().token, before);

    // The filter, confirmed as it opens, lists the branch's requests.
    core::Packet none;
    none.fields = a().fieldDefs();
    a().setData(none);
    host.dialogs.push_back([](platform::Form& d) { testsupport::click(d, "btnOK"); });
    ASSERT_TRUE(click("sbtFiltro")) << lastError();
    EXPECT_GT(a().recordCount(), 0);

    // A new request saved through the screen.
    fillNewRequest("Pedido por HTTPS");
    ASSERT_TRUE(confirm()) << lastError();
    const std::string number = f("NRAUDITORIA").asString();
    ASSERT_FALSE(number.empty());
    EXPECT_EQ(stored(std::stoi(number), "DSREFEAUDIT"), "Pedido por HTTPS");
}

}  // namespace
}  // namespace savetest

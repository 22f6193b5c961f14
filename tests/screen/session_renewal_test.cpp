// A new request typed while the session ran out: the confirm asks the password again
// and saves what was typed, or, when the user gives up, keeps it on the screen.
#include "request_save_fixture.h"
#include "support/server_sessions.h"

namespace {

using savetest::SaveFlow;
using SessionRenewal = SaveFlow;

constexpr const char* kExpired = "Sessão expirada. Entre novamente.";

TEST_F(SessionRenewal, ConfirmAfterTheSessionEndedSavesWhatWasTyped) {
    fillNewRequest("Digitado antes de a sessão expirar");
    testsupport::endServerSessions();
    host.passwords = {"demo"};
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_TRUE(errors().empty());
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.front().text, kExpired);
    EXPECT_EQ(host.messages.front().type, platform::MsgType::Warning);

    const std::string number = f("NRAUDITORIA").asString();
    ASSERT_FALSE(number.empty());
    EXPECT_EQ(stored(std::stoi(number), "DSREFEAUDIT"), "Digitado antes de a sessão expirar");
    ASSERT_FALSE(f("CDPRODUTO").asString().empty());
    EXPECT_EQ(stored(std::stoi(number), "CDPRODUTO"), f("CDPRODUTO").asString());
    EXPECT_EQ(stored(std::stoi(number), "IDTPAUDITADO"), "M");
    EXPECT_EQ(a().changeCount(), 0);
}

TEST_F(SessionRenewal, GivingUpKeepsTheNewRequestAsTyped) {
    fillNewRequest("Digitado antes de a sessão expirar");
    testsupport::endServerSessions();
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), kExpired);
    // One prompt for the one click: the save stopped at the first call refused.
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(a().state(), core::DataSetState::Insert);
    EXPECT_EQ(f("DSREFEAUDIT").asString(), "Digitado antes de a sessão expirar");
    EXPECT_EQ(f("CDARVPROD").asString(), "1010010001");
    EXPECT_EQ(f("IDTPAUDITADO").asString(), "M");
    EXPECT_EQ(f("NRAUDITORIA").asString(), "");

    // Confirmed again, with the password this time: saved as it stands.
    host.clear();
    host.passwords = {"demo"};
    ASSERT_TRUE(confirm()) << lastError();
    const std::string number = f("NRAUDITORIA").asString();
    ASSERT_FALSE(number.empty());
    EXPECT_EQ(stored(std::stoi(number), "DSREFEAUDIT"), "Digitado antes de a sessão expirar");
}

}  // namespace

// Calls whose session the server no longer knows: the password asked again, the
// call repeated, and what the user is told when they give up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/netconnection.h"
#include "platform/scripted_host.h"
#include "platform/services.h"
#include "platform/session_login.h"
#include "support/server_sessions.h"
#include "support/test_server.h"

using namespace platform;

namespace {

constexpr const char* kExpired = "Sessão expirada. Entre novamente.";

// A host whose password prompt lets the program call the server meanwhile, as a
// repaint under the dialog may.
class PromptingHost : public ScriptedHost {
public:
    std::function<void()> whileAsked;
    std::optional<std::string> askPassword(const std::string& operador, const std::string& prompt) override {
        if (whileAsked) whileAsked();
        return ScriptedHost::askPassword(operador, prompt);
    }
};

class SessionRenewal : public ::testing::Test {
protected:
    void SetUp() override {
        server_ = std::make_unique<testsupport::TestServer>();
        setHost(&host);
    }
    void TearDown() override {
        // A kept-alive connection would hold the server's stop for its idle time.
        conn.Close();
        setHost(nullptr);
        server_.reset();
    }
    core::Variant branchParameters(TNetConnection& c) {
        pointAtSessionServer(c);
        return c.call("getParamFilial", {testsupport::TestServer::kFilial});
    }
    core::Variant branchParameters() { return branchParameters(conn); }

    PromptingHost host;
    TNetConnection conn;
    std::unique_ptr<testsupport::TestServer> server_;
};

TEST_F(SessionRenewal, TheTokenGoesWithEveryCallAndAnEndedSessionIsRenewed) {
    const std::string token = session().token;
    EXPECT_FALSE(branchParameters().isError());
    // Without the token the server refuses; nobody types a password, and the call says so.
    session().token.clear();
    EXPECT_EQ(branchParameters().error, kExpired);
    EXPECT_EQ(host.texts(), std::vector<std::string>{kExpired});
    // Read at each call: the one put back goes on the same connection.
    session().token = token;
    EXPECT_FALSE(branchParameters().isError());

    // An ended session: a wrong password is asked again with its refusal, the right one
    // logs in and the call is repeated with the new token.
    host.clear();
    testsupport::endServerSessions();
    host.passwords = {"errada", "demo"};
    const auto r = branchParameters();
    ASSERT_TRUE(r.isPacket()) << r.error;
    EXPECT_FALSE(r.packet->rows.empty());
    EXPECT_EQ(host.texts(), (std::vector<std::string>{kExpired, "Operador ou senha inválidos."}));
    EXPECT_EQ(host.messages[0].type, MsgType::Warning);
    EXPECT_FALSE(session().token.empty());
    EXPECT_NE(session().token, token);
    EXPECT_EQ(session().operador, "DEMO");
    EXPECT_EQ(session().filial, "0001");
}

TEST_F(SessionRenewal, GivingUpAnswersTheExpiryWithoutAskingAgain) {
    testsupport::endServerSessions();
    host.passwords = {"errada", std::nullopt, "demo"};
    const auto r = branchParameters();
    EXPECT_EQ(r.error, kExpired);
    try {
        CheckResultServ(r);
        FAIL() << "the expiry passed the check";
    } catch (const ServerError& e) {
        EXPECT_STREQ(e.what(), kExpired);
    }
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.passwords.size(), 1u);  // the password left over was never asked for

    // A call made while the prompt is up answers the expiry without a prompt of its own.
    host.clear();
    core::Variant inner;
    TNetConnection other;
    host.whileAsked = [&] { inner = branchParameters(other); };
    host.passwords = {"demo"};
    EXPECT_FALSE(branchParameters().isError());
    EXPECT_EQ(inner.error, kExpired);
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(SessionRenewal, LogoutEndsTheSessionAndNeverAsks) {
    const std::string token = session().token;
    logout();
    EXPECT_TRUE(session().token.empty());
    session().token = token;
    EXPECT_EQ(branchParameters().error, kExpired);

    // Out of a session the server already ended: nothing asked, nothing thrown.
    host.clear();
    EXPECT_NO_THROW(logout());
    EXPECT_TRUE(session().token.empty());
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace

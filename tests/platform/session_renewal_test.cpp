// Calls whose session the server no longer knows: the password asked again, the
// call repeated, and what the user is told when they give up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/netconnection.h"
#include "platform/scripted_host.h"
#include "platform/session_login.h"
#include "support/server_sessions.h"
#include "support/test_server.h"

using namespace platform;

namespace {

constexpr const char* kExpired = "Sessão expirada. Entre novamente.";

class SessionRenewal : public ::testing::Test {
protected:
    void SetUp() override {
        server_ = std::make_unique<testsupport::TestServer>();
        setHost(&host);
        conn.OnBeforeConnect = [](TNetConnection& c) {
            c.Host = session().webUrl;
            c.Port = session().webPort;
        };
    }
    void TearDown() override {
        // A kept-alive connection would hold the server's stop for its idle time.
        conn.Close();
        setHost(nullptr);
        server_.reset();
    }
    core::Variant branchParameters() { return conn.call("getParamFilial", {testsupport::TestServer::kFilial}); }
    std::vector<std::string> prompts() const {
        std::vector<std::string> out;
        for (const auto& m : host.messages)
            if (m.type == MsgType::Warning) out.push_back(m.text);
        return out;
    }

    ScriptedHost host;
    TNetConnection conn;
    std::unique_ptr<testsupport::TestServer> server_;
};

TEST_F(SessionRenewal, EveryCallCarriesTheSessionsToken) {
    const std::string token = session().token;
    ASSERT_FALSE(token.empty());
    auto r = branchParameters();
    EXPECT_FALSE(r.isError()) << r.error;
    EXPECT_TRUE(host.messages.empty());

    // Without it the server refuses; nobody types a password, and the call says so.
    session().token.clear();
    r = branchParameters();
    EXPECT_EQ(r.error, kExpired);
    EXPECT_EQ(prompts(), std::vector<std::string>{kExpired});

    // The token is read at each call, so the one put back is sent on the same connection.
    session().token = token;
    r = branchParameters();
    EXPECT_FALSE(r.isError()) << r.error;
}

TEST_F(SessionRenewal, AnEndedSessionAsksThePasswordAndRepeatsTheCall) {
    const std::string first = session().token;
    testsupport::endServerSessions();
    host.passwords = {"demo"};
    auto r = branchParameters();
    EXPECT_FALSE(r.isError()) << r.error;
    ASSERT_TRUE(r.isPacket());
    EXPECT_FALSE(r.packet->rows.empty());
    EXPECT_EQ(prompts(), std::vector<std::string>{kExpired});
    EXPECT_NE(session().token, first);
    EXPECT_FALSE(session().token.empty());
    EXPECT_EQ(session().operador, "DEMO");
    EXPECT_EQ(session().filial, "0001");

    // A wrong password is asked again with its refusal; the right one then goes through.
    host.clear();
    testsupport::endServerSessions();
    host.passwords = {"errada", "demo"};
    r = branchParameters();
    EXPECT_FALSE(r.isError()) << r.error;
    EXPECT_EQ(prompts(), (std::vector<std::string>{kExpired, "Operador ou senha inválidos."}));
    EXPECT_TRUE(host.passwords.empty());
}

TEST_F(SessionRenewal, GivingUpAnswersTheExpiryOnce) {
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
    // Two prompts, then it stopped: the password left over was never asked for.
    EXPECT_EQ(prompts().size(), 2u);
    EXPECT_EQ(host.passwords.size(), 1u);

    // Raising from the call itself raises the same text.
    host.clear();
    conn.ThrowException = true;
    try {
        branchParameters();
        FAIL() << "the expiry did not raise";
    } catch (const ServerError& e) {
        EXPECT_STREQ(e.what(), kExpired);
    }
    EXPECT_EQ(prompts().size(), 1u);
}

// A host whose password prompt lets the program call the server meanwhile, as a
// repaint under the dialog may.
class CallingHost : public ScriptedHost {
public:
    std::function<void()> whileAsked;
    std::optional<std::string> askPassword(const std::string& operador, const std::string& prompt) override {
        if (whileAsked) whileAsked();
        return ScriptedHost::askPassword(operador, prompt);
    }
};

TEST_F(SessionRenewal, ACallUnderThePromptDoesNotAskAgain) {
    CallingHost calling;
    setHost(&calling);
    core::Variant inner;
    TNetConnection other;
    other.OnBeforeConnect = conn.OnBeforeConnect;
    calling.whileAsked = [&] { inner = other.call("getParamFilial", {testsupport::TestServer::kFilial}); };
    calling.passwords = {"demo"};
    testsupport::endServerSessions();
    const auto r = branchParameters();
    EXPECT_FALSE(r.isError()) << r.error;
    EXPECT_EQ(inner.error, kExpired);
    EXPECT_EQ(calling.messages.size(), 1u);
}

TEST_F(SessionRenewal, LogoutEndsTheSessionAndNeverAsks) {
    const std::string token = session().token;
    logout();
    EXPECT_TRUE(session().token.empty());
    // The closed session's token is refused.
    session().token = token;
    EXPECT_EQ(branchParameters().error, kExpired);
    host.clear();

    // Logging out of a session the server already ended asks nothing and throws nothing.
    session().token = token;
    EXPECT_NO_THROW(logout());
    EXPECT_TRUE(session().token.empty());
    EXPECT_TRUE(host.messages.empty());

    // Logging in again fills the session, token included.
    ASSERT_FALSE(login("DEMO", "demo").has_value());
    EXPECT_FALSE(session().token.empty());
    EXPECT_NE(session().token, token);
    EXPECT_FALSE(branchParameters().isError());
}

}  // namespace

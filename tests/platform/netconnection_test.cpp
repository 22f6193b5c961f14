#include "platform/netconnection.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/recordset.h"
#include "platform/scripted_host.h"
#include "platform/services.h"
#include "support/test_server.h"

using namespace platform;

namespace {

// A loopback port nobody listens on: the server's own, after it stopped.
int closedPort() {
    testsupport::TestServer gone(false);
    return gone.port();
}

void pointAtSession(TNetConnection& c) {
    c.Host = WebURL();
    c.Port = WebPort();
}

}  // namespace

TEST(NetConnection, UnreachableServerGivesAClearError) {
    const int port = closedPort();
    TNetConnection conn;
    conn.Port = port;
    try {
        conn.Open();
        FAIL() << "connected to a closed port";
    } catch (const core::Error& e) {
        EXPECT_EQ(std::string(e.what()), "Não foi possível conectar ao servidor de aplicação 127.0.0.1:" +
                                             std::to_string(port) + ".");
    }
    EXPECT_FALSE(conn.Connected());
    // A call on a closed connection connects first, and fails the same way.
    EXPECT_THROW(conn.call("GetPrxAuditoria", {"0001"}), core::Error);

    TNetConnection noPort;
    EXPECT_THROW(noPort.Open(), core::Error);
}

TEST(NetConnection, BeforeConnectRunsBeforeEachConnect) {
    testsupport::TestServer server;
    TNetConnection conn;
    int connects = 0;
    conn.OnBeforeConnect = [&](TNetConnection& c) {
        ++connects;
        pointAtSession(c);
    };
    conn.Open();
    EXPECT_TRUE(conn.Connected());
    conn.Open();  // already connected: nothing runs
    EXPECT_EQ(connects, 1);
    conn.Close();
    EXPECT_FALSE(conn.Connected());
    auto r = conn.call("getParamFilial", {testsupport::TestServer::kFilial});
    EXPECT_EQ(connects, 2);
    EXPECT_FALSE(r.isError()) << r.error;
}

TEST(NetConnection, RefusalRaisesTheServersMessageUnchanged) {
    testsupport::TestServer server;
    TNetConnection conn("MXA07300.Host");
    conn.OnBeforeConnect = pointAtSession;
    std::vector<core::Variant> args{"DEMO", "senha errada"};
    auto r = conn.call("Login", args);
    ASSERT_TRUE(r.isError());
    try {
        CheckResultServ(r, true, 0);
        FAIL() << "a refusal passed the check";
    } catch (const ServerError& e) {
        EXPECT_STREQ(e.what(), "Operador ou senha inválidos.");
    }
    // Without raising, the check shows the message instead.
    ScriptedHost script;
    setHost(&script);
    EXPECT_NO_THROW(CheckResultServ(r, false, 0));
    EXPECT_EQ(script.lastText(), "Operador ou senha inválidos.");
    setHost(nullptr);

    conn.ThrowException = true;
    EXPECT_THROW(conn.call("Login", {"DEMO", "x"}), ServerError);

    core::RecordSet op("cdsOperador");
    loadFromServer(op, conn.call("Login", {"DEMO", "demo"}));
    ASSERT_EQ(op.recordCount(), 1);
    EXPECT_EQ(op["CDFILIAL"].asString(), "0001");
}

TEST(NetConnection, HostServicesAskTheServer) {
    testsupport::TestServer server;
    EXPECT_TRUE(Autorizacao("DEMO", "CANA"));
    EXPECT_FALSE(Autorizacao("ANALISTA", "CANA"));
    const auto now = core::DateTime::now();
    const auto h = DtServ("H");
    EXPECT_LT(std::fabs(h.days - now.days), 1.0);  // the same machine's clock, same day or so
    const auto s = DtServ("S");
    EXPECT_EQ(s, s.datePart());
    EXPECT_LE(s.days, h.days);
}

TEST(NetConnection, FailedSaveDiscardsThePendingChanges) {
    testsupport::TestServer server;
    TNetConnection conn;
    conn.OnBeforeConnect = pointAtSession;
    core::RecordSet just("cdsJustificativa");
    loadFromServer(just, conn.call("GetJustificativa"));
    const int before = just.recordCount();
    just.append();
    just["CDJUSTIFICATIVA"].setValue("ZZZ");
    just["DSJUSTIFICATIVA"].setValue("Nova");
    just.post();
    ASSERT_EQ(just.changeCount(), 1);
    // The server has no such save: a refusal, and the set returns to what was read.
    EXPECT_THROW(saveToServer(conn, just, "SetNadaDisso"), ServerError);
    EXPECT_EQ(just.changeCount(), 0);
    EXPECT_EQ(just.recordCount(), before);

    // A transport failure discards them too.
    just.append();
    just["CDJUSTIFICATIVA"].setValue("ZZZ");
    just.post();
    TNetConnection dead;
    dead.Port = closedPort();
    EXPECT_THROW(saveToServer(dead, just, "SetJustificativa"), core::Error);
    EXPECT_EQ(just.changeCount(), 0);
    EXPECT_EQ(just.recordCount(), before);
}

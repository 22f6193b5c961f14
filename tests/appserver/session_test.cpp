// Login sessions: only a call carrying an open session runs, and password checks
// are throttled per operator.
#include <sodium.h>

#include "core/variant.h"
#include "fixture.h"
#include "platform/host.h"

namespace {

class SessionTest : public ServerSuite {
protected:
    void SetUp() override {
        ServerSuite::SetUp();
        db() << "DELETE FROM FALHASENHA";
    }
    // A call of Teste/Salvar (one row) with the given Authorization header.
    static std::string saveWith(const std::string& authorization) {
        core::Packet p;
        p.fields = fields();
        p.delta.push_back({core::ChangeKind::Insert, {}, {"S1", "sessao", core::Value(), 1.0, 1}});
        const auto raw =
            testsupport::post(port(), "/Teste/Salvar", core::encodeCall({core::Variant(p)}), authorization);
        return core::decodeAnswer(raw.body).result.error;
    }
    static core::CallAnswer login(const std::string& operador, const std::string& senha) {
        return testsupport::callAt(port(), "Login", {operador, senha}, "Host");
    }
    static core::Variant checkPassword(const std::string& operador, const std::string& senha) {
        return testsupport::call("GetVdOperador", {operador, senha}).result;
    }
    static std::string tokenOf(const core::CallAnswer& a) {
        const auto& p = *a.result.packet;
        return p.rows.at(0).at(p.fieldIndex("TOKEN")).asString();
    }
};

TEST_F(SessionTest, OnlyACallWithAnOpenSessionRuns) {
    const std::string forged(64, 'a');
    const std::vector<std::string> refused = {
        "", "Basic REVNTzpkZW1v", "Bearer", "Bearer curto", "Bearer " + forged, "Token " + platform::session().token};
    for (const auto& header : refused)
        EXPECT_EQ(saveWith(header), core::kSessionRefused) << "Authorization: " << header;
    EXPECT_EQ(count(), 0);

    // A login answers a fresh token of 256 bits that opens its own session.
    const auto answer = login("ANALISTA", "analista");
    ASSERT_FALSE(answer.result.isError()) << answer.result.error;
    const std::string token = tokenOf(answer);
    EXPECT_EQ(token.size(), 64u);
    EXPECT_NE(token, platform::session().token);
    EXPECT_EQ(saveWith("bearer " + token), "");
    EXPECT_EQ(count(), 1);

    // Logout closes it; the token opens nothing after, while other sessions go on.
    auto closed = testsupport::post(port(), "/Host/Logout", core::encodeCall({}), "Bearer " + token);
    EXPECT_FALSE(core::decodeAnswer(closed.body).result.isError());
    EXPECT_EQ(saveWith("Bearer " + token), core::kSessionRefused);
    EXPECT_FALSE(testsupport::call("GetParamMXA", {"0001"}).result.isError());

    // A session unused for longer than the idle limit (8 hours) has expired.
    const auto other = tokenOf(login("ANALISTA", "analista"));
    db() << "UPDATE SESSAO SET DTULTUSO = DTULTUSO - 0.34 WHERE CDOPERADOR = 'ANALISTA'";
    EXPECT_EQ(saveWith("Bearer " + other), core::kSessionRefused);
    EXPECT_EQ(count(), 1);

    // Only the hash of a token is kept.
    int stored = 0;
    db() << "SELECT COUNT(*) FROM SESSAO WHERE CDSESSAO = :t", soci::use(platform::session().token), soci::into(stored);
    EXPECT_EQ(stored, 0);
}

TEST_F(SessionTest, FiveWrongPasswordsLockTheOperatorForFifteenMinutes) {
    const std::string locked = "Operador bloqueado após 5 senhas inválidas. Tente novamente em 15 minutos.";
    // A right password clears the count.
    for (int i = 0; i < 4; ++i) EXPECT_EQ(login("ANALISTA", "errada").result.error, "Operador ou senha inválidos.");
    EXPECT_FALSE(login("ANALISTA", "analista").result.isError());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(checkPassword("ANALISTA", "errada").packet->rows.at(0).at(2).asString(), "N");

    // The fifth failure in a row locks: the right password is refused as well, by
    // both the login and the authorization's check; other operators go on.
    EXPECT_EQ(login("ANALISTA", "errada").result.error, "Operador ou senha inválidos.");
    EXPECT_EQ(login("ANALISTA", "analista").result.error, locked);
    EXPECT_EQ(checkPassword("ANALISTA", "analista").error, locked);
    EXPECT_FALSE(login("SUPERVISOR", "super").result.isError());

    // Once the lock's time is over the right password opens again.
    db() << "UPDATE FALHASENHA SET DTBLOQUEIO = DTBLOQUEIO - 0.011 WHERE CDOPERADOR = 'ANALISTA'";
    EXPECT_EQ(login("ANALISTA", "analista").result.error, "");
    int rows = -1;
    db() << "SELECT COUNT(*) FROM FALHASENHA", soci::into(rows);
    EXPECT_EQ(rows, 0);
}

// The session is read in the call's own transaction and what the check writes waits
// for the call to end: a use older than a minute is recorded, a recent one is not
// written again, and a session another server closed is refused on the next call.
TEST_F(SessionTest, EachCallReadsItsSessionAndRecordsItsUseAfter) {
    db() << "DELETE FROM SESSAO WHERE CDOPERADOR = 'ANALISTA'";  // the operator's one session is this test's
    const std::string bearer = "Bearer " + tokenOf(login("ANALISTA", "analista"));
    auto lastUse = [] {
        double days = 0;
        db() << "SELECT DTULTUSO FROM SESSAO WHERE CDOPERADOR = 'ANALISTA'", soci::into(days);
        return days;
    };
    auto paramsWith = [](const std::string& authorization) {
        const auto raw =
            testsupport::post(port(), "/rdmPedidoAna/GetParamMXA", core::encodeCall({core::Variant("0001")}), authorization);
        return core::decodeAnswer(raw.body).result;
    };
    const double minute = 1.0 / (24 * 60);
    db() << "UPDATE SESSAO SET DTULTUSO = DTULTUSO - 0.01 WHERE CDOPERADOR = 'ANALISTA'";
    const double before = lastUse();
    const auto answered = paramsWith(bearer);
    ASSERT_FALSE(answered.isError()) << answered.error;
    EXPECT_TRUE(answered.isPacket());
    const double recorded = lastUse();
    EXPECT_GT(recorded - before, 0.01 - minute);
    // Within the minute the session is only read.
    EXPECT_FALSE(paramsWith(bearer).isError());
    EXPECT_EQ(lastUse(), recorded);

    // Closed by another server over the same database: refused at once, and nothing of
    // the call is read, not even a malformed body.
    db() << "DELETE FROM SESSAO WHERE CDOPERADOR = 'ANALISTA'";
    EXPECT_EQ(paramsWith(bearer).error, core::kSessionRefused);
    const auto garbled = testsupport::post(port(), "/rdmPedidoAna/GetParamMXA", "{nada", bearer);
    EXPECT_EQ(core::decodeAnswer(garbled.body).result.error, core::kSessionRefused);
    EXPECT_FALSE(paramsWith("Bearer " + platform::session().token).isError());
}

TEST_F(SessionTest, WhatACallRecordsIsInTheSessionOperatorsName) {
    auto justify = [](const std::string& operador) {
        return testsupport::call("SetJustificativaAna", {"0001", "0000000001", operador, "00001"}).result.error;
    };
    EXPECT_EQ(justify("ANALISTA"), "Operador ANALISTA não é o operador desta sessão (DEMO).");
    EXPECT_EQ(justify(""), "");
    server_->loginAs("ANALISTA");
    EXPECT_EQ(justify("ANALISTA"), "");
    std::string first, second;
    db() << "SELECT MIN(CDOPERADOR), MAX(CDOPERADOR) FROM JUSTIFICAANA WHERE NRAUDITORIA = '0000000001'",
        soci::into(first), soci::into(second);
    EXPECT_EQ(first + "," + second, "ANALISTA,DEMO");

    // Another operator's authorization is recorded once that operator typed a right
    // password at this session, not on the client's word.
    auto authorized = [](const std::string& by) {
        return testsupport::call("SetJustificativaAna", {"0001", "0000000002", "ANALISTA", "00001", "EXCA", by})
            .result.error;
    };
    EXPECT_EQ(authorized("SUPERVISOR"), "Autorização do operador SUPERVISOR não confirmada pela senha.");
    EXPECT_EQ(checkPassword("SUPERVISOR", "errada").packet->rows.at(0).at(2).asString(), "N");
    EXPECT_EQ(authorized("SUPERVISOR"), "Autorização do operador SUPERVISOR não confirmada pela senha.");
    EXPECT_EQ(checkPassword("SUPERVISOR", "super").packet->rows.at(0).at(2).asString(), "S");
    EXPECT_EQ(authorized("SUPERVISOR"), "");
}

}  // namespace

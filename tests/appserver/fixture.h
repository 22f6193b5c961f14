#pragma once
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <soci/soci.h>

#include "appserver/delta.h"
#include "appserver/method_table.h"
#include "appserver/refusal.h"
#include "appserver/sql.h"
#include "support/test_server.h"

// One demo server for a whole suite (seeding hashes passwords, which takes a
// moment), plus a scratch table TESTE_DELTA with the column kinds the delta code
// cares about, and methods "Teste/Salvar" (applies a delta to it) and "Teste/Ler".
class ServerSuite : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        server_ = std::make_unique<testsupport::TestServer>(true);
        auto& s = server_->server();
        db_ = std::make_unique<soci::session>(s.backendName(), s.connectString());
        *db_ << "CREATE TABLE TESTE_DELTA (CDCHAVE VARCHAR(4) NOT NULL, NMTEXTO VARCHAR(10), "
                "DTDATA DOUBLE PRECISION, QTVALOR DOUBLE PRECISION, NRCONTA INTEGER, PRIMARY KEY (CDCHAVE))";
        s.methods().add("Teste", "Salvar", [](appserver::Call& c) -> core::Variant {
            c.expect({appserver::Arg::Packet});
            return appserver::applyDelta(c.db(), c.catalog(), "TESTE_DELTA", c.packet(0));
        });
        // Writes, then refuses: the write must not survive.
        s.methods().add("Teste", "Recusar", [](appserver::Call& c) -> core::Variant {
            c.expect({appserver::Arg::Text});
            appserver::execute(c.db(), "INSERT INTO TESTE_DELTA (CDCHAVE) VALUES ('RX')");
            throw appserver::Refusal(c.text(0));
        });
        // Writes, then fails in the database: the write must not survive either.
        s.methods().add("Teste", "Quebrar", [](appserver::Call& c) -> core::Variant {
            c.expect({});
            appserver::execute(c.db(), "INSERT INTO TESTE_DELTA (CDCHAVE) VALUES ('RY')");
            appserver::execute(c.db(), "SELECT NMINEXISTENTE FROM TESTE_DELTA");
            return {};
        });
        // Writes a by-reference argument back.
        s.methods().add("Teste", "Eco", [](appserver::Call& c) -> core::Variant {
            c.expect({appserver::Arg::Text, appserver::Arg::Integer}, 1);
            c.setOut(0, c.text(0) + "!");
            return static_cast<int64_t>(c.argCount());
        });
        s.methods().add("Teste", "Ler", [](appserver::Call& c) -> core::Variant {
            c.expect({});
            return appserver::answerPacket(c.db(), fields(),
                                          "SELECT CDCHAVE, NMTEXTO, DTDATA, QTVALOR, NRCONTA FROM TESTE_DELTA "
                                          "ORDER BY CDCHAVE");
        });
    }
    static void TearDownTestSuite() {
        db_.reset();
        server_.reset();
    }

protected:
    void SetUp() override {
        *db_ << "DELETE FROM TESTE_DELTA";
        server_->loginAs(testsupport::TestServer::kOperador);  // a test may have switched operators
    }

    static std::vector<core::FieldDef> fields() {
        using core::FieldType;
        return {appserver::field("CDCHAVE", FieldType::String, 4, true), appserver::field("NMTEXTO", FieldType::String, 10),
                appserver::field("DTDATA", FieldType::DateTime), appserver::field("QTVALOR", FieldType::Float),
                appserver::field("NRCONTA", FieldType::Integer)};
    }
    static int port() { return server_->port(); }
    static soci::session& db() { return *db_; }
    static int count(const std::string& table = "TESTE_DELTA") {
        int n = 0;
        *db_ << "SELECT COUNT(*) FROM " + table, soci::into(n);
        return n;
    }
    // The table's content as the server reads it.
    static core::Packet read() {
        auto a = testsupport::call("Ler", {}, "Teste");
        EXPECT_FALSE(a.result.isError()) << a.result.error;
        return a.result.packet ? *a.result.packet : core::Packet{};
    }
    static core::CallAnswer save(const core::Packet& p) { return testsupport::call("Salvar", {core::Variant(p)}, "Teste"); }

    static inline std::unique_ptr<testsupport::TestServer> server_;
    static inline std::unique_ptr<soci::session> db_;
};

#include "platform/query.h"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <soci/soci.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/error.h"
#include "platform/host.h"
#include "support/test_writes.h"

using namespace platform;

namespace {

// Runs on SQLite, and on PostgreSQL too when MXA_TEST_PG holds a libpq connect string,
// over a database of its own (a file, or a schema) seeded through the tests' writable
// connection: the direct queries themselves only read.
struct DirectQuery : ::testing::TestWithParam<std::string> {
    std::filesystem::path db;
    std::string pgAdmin, pgSchema;
    Session saved;
    void SetUp() override {
        saved = session();
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (auto& ch : test)
            if (ch == '/') ch = '_';
        const std::string unique = std::to_string(::getpid()) + "_" + test;
        session().dbBackend = GetParam();
        if (GetParam() == "postgresql") {
            const char* pg = std::getenv("MXA_TEST_PG");
            if (!pg || !*pg) GTEST_SKIP() << "MXA_TEST_PG not set";
            pgAdmin = pg;
            pgSchema = core::utf8Lower("mxa_query_" + unique);
            soci::session admin("postgresql", pgAdmin);
            admin << "CREATE SCHEMA " + pgSchema;
            session().dbConnect = pgAdmin + " options='-csearch_path=" + pgSchema + "'";
        } else {
            db = std::filesystem::temp_directory_path() / ("mxa_query_" + unique + ".db");
            std::filesystem::remove(db);
            session().dbConnect = db.string();
        }
        resetQueryDatabase();
        testsupport::writeToDatabase(
            "CREATE TABLE LOTE (CDPRODUTO VARCHAR(10) NOT NULL, NRLOTE VARCHAR(10), QTLOTE DOUBLE PRECISION, "
            "NRSEQ INTEGER, DTVALIDADE DOUBLE PRECISION)");
        constexpr const char* insert =
            "INSERT INTO LOTE (CDPRODUTO, NRLOTE, QTLOTE, NRSEQ, DTVALIDADE) VALUES ({}, {}, {}, {}, {})";
        EXPECT_EQ(testsupport::writeToDatabase(fmt::format(insert, "'1020030004'", "'L001'", 12.5, 1,
                                                           core::DateTime::make(2024, 6, 30, 10, 15).days)),
                  1);
        testsupport::writeToDatabase(fmt::format(insert, "'1020030004'", "NULL", 3.25, 2, "NULL"));
        testsupport::writeToDatabase(
            fmt::format(insert, "'2010010001'", "'L002'", 100, 3, core::DateTime::make(2025, 1, 31).days));
    }
    void TearDown() override {
        resetQueryDatabase();
        session() = saved;
        if (!db.empty()) std::filesystem::remove(db);
        if (!pgSchema.empty()) {
            soci::session admin("postgresql", pgAdmin);
            admin << "SET client_min_messages TO WARNING";
            admin << "DROP SCHEMA " + pgSchema + " CASCADE";
        }
    }
};

}  // namespace

TEST_P(DirectQuery, NullParameterIsBoundAsSqlNull) {
    TADOIBQuery q("qryLote");
    q.SQL =
        "SELECT CDPRODUTO, NRLOTE, QTLOTE, NRSEQ, DTVALIDADE FROM LOTE "
        "WHERE CDPRODUTO = :P_PROD AND (:P_LOTE IS NULL OR NRLOTE = :P_LOTE) ORDER BY NRSEQ";
    q.SQL_ORACLE = "SELECT * FROM LOTE WHERE ROWNUM < 0";  // never the text of SQLite
    q.ParamByName("P_PROD") = "1020030004";
    q.ParamByName("P_LOTE") = core::Value();
    q.Open();
    ASSERT_EQ(q.recordCount(), 2);
    q.first();
    EXPECT_EQ(q["NRLOTE"].asString(), "L001");
    EXPECT_EQ(q["NRSEQ"].type(), core::FieldType::Integer);
    EXPECT_EQ(q["QTLOTE"].type(), core::FieldType::Float);
    EXPECT_DOUBLE_EQ(q["QTLOTE"].asFloat(), 12.5);
    EXPECT_EQ(q["DTVALIDADE"].type(), core::FieldType::DateTime);
    EXPECT_EQ(q["DTVALIDADE"].asDateTime(), core::DateTime::make(2024, 6, 30, 10, 15));
    q.next();
    EXPECT_TRUE(q["NRLOTE"].isNull());
    EXPECT_TRUE(q["DTVALIDADE"].isNull());

    q.ParamByName("P_LOTE") = "L001";
    q.Open();
    EXPECT_EQ(q.recordCount(), 1);

    // A null compared with "=" matches nothing, as in SQL: the parameter really is NULL.
    TADOIBQuery eq;
    eq.SQL = "SELECT COUNT(*) AS QT FROM LOTE WHERE NRLOTE = :P_LOTE";
    eq.ParamByName("P_LOTE") = core::Value();
    eq.Open();
    EXPECT_EQ(eq["QT"].asInteger(), 0);

    // Date-time parameters compare with the stored day counts.
    TADOIBQuery dt;
    dt.SQL = "SELECT NRSEQ FROM LOTE WHERE DTVALIDADE > :P_DATA";
    dt.ParamByName("P_DATA") = core::DateTime::make(2024, 12, 31);
    dt.Open();
    ASSERT_EQ(dt.recordCount(), 1);
    EXPECT_EQ(dt["NRSEQ"].asInteger(), 3);
}

TEST_P(DirectQuery, DeclaredFieldsKeepTheirTypes) {
    TADOIBQuery q;
    q.addField("NRSEQ", core::FieldType::String, 3);
    q.addField("QTLOTE", core::FieldType::Float);
    q.SQL = "SELECT NRSEQ, QTLOTE, NRLOTE AS nrlote_alias FROM LOTE WHERE NRSEQ = :P_SEQ";
    q.ParamByName(":P_SEQ") = 3;
    q.Open();
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q["NRSEQ"].type(), core::FieldType::String);
    EXPECT_EQ(q["NRSEQ"].asString(), "3");
    EXPECT_EQ(q["NRLOTE_ALIAS"].asString(), "L002");  // undeclared columns come named in capitals
}

TEST_P(DirectQuery, ErrorsCarryTheDatabaseMessage) {
    TADOIBQuery q;
    q.SQL = "SELECT NOSUCHCOLUMN FROM LOTE";
    try {
        q.Open();
        FAIL() << "a bad statement ran";
    } catch (const core::Error& e) {
        EXPECT_NE(core::utf8Upper(e.what()).find("NOSUCHCOLUMN"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(q.active());

    q.SQL = "SELECT * FROM LOTE WHERE NRLOTE = :P_NONE";
    EXPECT_THROW(q.Open(), core::Error);  // a parameter never given is a fault, not a NULL

    // The session is still usable after an error.
    q.SQL = "SELECT COUNT(*) AS QT FROM LOTE";
    q.Open();
    EXPECT_EQ(q["QT"].asInteger(), 3);
}

TEST_P(DirectQuery, WritesAreRefusedAndTheSessionGoesOn) {
    std::vector<std::string> writes = {
        "UPDATE LOTE SET QTLOTE = 0 WHERE NRSEQ = 1",
        "INSERT INTO LOTE (CDPRODUTO, NRSEQ) VALUES ('9', 9)",
        "DELETE FROM LOTE",
        "CREATE TABLE INTRUSO (X INTEGER)",
        "DROP TABLE LOTE",
    };
    // A write need not start with its verb: a text check would let this one through.
    if (GetParam() == "postgresql") writes.push_back("WITH d AS (DELETE FROM LOTE RETURNING 1) SELECT COUNT(*) FROM d");
    for (const auto& sql : writes) {
        TADOIBQuery q;
        q.SQL = sql;
        try {
            q.Open();
            ADD_FAILURE() << "a direct query wrote: " << sql;
        } catch (const core::Error& e) {
            EXPECT_EQ(std::string(e.what()).rfind("As consultas diretas só podem ler o banco de dados: ", 0), 0u)
                << sql << ": " << e.what();
        }
        // Nothing was kept, and the next look-up runs on the same session.
        TADOIBQuery look;
        look.SQL = "SELECT COUNT(*) AS QT, SUM(QTLOTE) AS TOTAL FROM LOTE";
        look.Open();
        EXPECT_EQ(look["QT"].asInteger(), 3) << sql;
        EXPECT_DOUBLE_EQ(look["TOTAL"].asFloat(), 115.75) << sql;
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, DirectQuery, ::testing::Values("sqlite3", "postgresql"));

TEST(DirectQueryText, DialectFollowsTheBackend) {
    Session saved = session();
    TADOIBQuery q;
    q.SQL = "std";
    q.SQL_IB = "ib";
    q.SQL_MSSQL = "ms";
    q.SQL_ORACLE = "ora";
    const std::pair<const char*, const char*> cases[] = {
        {"sqlite3", "std"}, {"postgresql", "std"}, {"firebird", "ib"}, {"odbc", "ms"}, {"oracle", "ora"}};
    for (auto [backend, text] : cases) {
        session().dbBackend = backend;
        EXPECT_EQ(q.activeText(), text) << backend;
    }
    q.SQL_ORACLE.clear();
    session().dbBackend = "oracle";
    EXPECT_EQ(q.activeText(), "std");
    session() = saved;
}

// Columns read into the type the caller asks for, the same under any process locale;
// statements kept on a connection from call to call.
#include "appserver/sql.h"

#include <gtest/gtest.h>
#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>

#include <filesystem>

#include "appserver/statement_cache.h"

namespace {

using core::FieldType;

TEST(QueryTypes, NumbersAndTextsConvertWithTheDatabasePoint) {
    soci::session db(soci::sqlite3, ":memory:");
    db << "CREATE TABLE NUMEROS (QTVALOR DOUBLE PRECISION, DSTEXTO VARCHAR(20))";
    const auto value = [&](const std::string& column, const std::string& stored, FieldType type) {
        db << "DELETE FROM NUMEROS";
        db << "INSERT INTO NUMEROS (" + column + ") VALUES (" + stored + ")";
        return appserver::queryValue(db, "SELECT " + column + " FROM NUMEROS", {}, type);
    };
    // Reals asked as text come with a "." point, whatever the locale's.
    EXPECT_EQ(value("QTVALOR", "2.5", FieldType::String).asString(), "2.5");
    EXPECT_EQ(value("QTVALOR", "-1234.5678", FieldType::String).asString(), "-1234.5678");
    EXPECT_EQ(value("QTVALOR", "0.1 + 0.2", FieldType::String).asString(), "0.3");
    EXPECT_EQ(value("QTVALOR", "3", FieldType::String).asString(), "3");
    // Texts holding numbers, as the database writes them.
    EXPECT_DOUBLE_EQ(value("DSTEXTO", "'2.5'", FieldType::Float).asFloat(), 2.5);
    EXPECT_DOUBLE_EQ(value("DSTEXTO", "'45000.25'", FieldType::DateTime).asDateTime().days, 45000.25);
    EXPECT_EQ(value("DSTEXTO", "'42'", FieldType::Integer).asInteger(), 42);
    // A number is made an integer alike whether the column holds it as text or as a real.
    EXPECT_EQ(value("DSTEXTO", "'2.5'", FieldType::Integer).asInteger(),
              value("QTVALOR", "2.5", FieldType::Integer).asInteger());
    EXPECT_TRUE(value("QTVALOR", "NULL", FieldType::Float).isNull());
}

// A kept statement reads the table as it is at each run, follows a schema change,
// is dropped before its connection closes, and the cache stays within its size.
TEST(KeptStatements, SeeEveryChangeAndGoBeforeTheirConnection) {
    const auto file = std::filesystem::temp_directory_path() / "mxa07300_kept_statements.db";
    std::filesystem::remove(file);
    soci::session db(soci::sqlite3, file.string()), other(soci::sqlite3, file.string());
    db << "PRAGMA journal_mode=WAL";
    db << "CREATE TABLE PARAM (CDFILIAL VARCHAR(4), NRDIAS DOUBLE PRECISION)";
    db << "INSERT INTO PARAM VALUES ('0001', 5)";
    appserver::StatementCache cache(2);
    cache.bind(appserver::sqliteHandle(db));
    const std::string days = "SELECT NRDIAS FROM PARAM WHERE CDFILIAL = :f";
    auto read = [&] { return appserver::queryValue(db, days, {"0001"}, FieldType::Float).asFloat(); };
    {
        appserver::StatementCache::Installed installed(cache);
        EXPECT_EQ(read(), 5);
        EXPECT_EQ(cache.size(), 1u);
        // Another connection's write and schema change are seen by the kept statements.
        other << "UPDATE PARAM SET NRDIAS = 7";
        EXPECT_EQ(read(), 7);
        const std::string all = "SELECT * FROM PARAM";
        EXPECT_EQ(appserver::queryRows(db, all)[0].size(), 2u);
        other << "ALTER TABLE PARAM ADD COLUMN IDATIVO VARCHAR(1)";
        EXPECT_EQ(appserver::queryRows(db, all)[0].size(), 3u);
        // A column whose declared type changed is read by its new one, not as the kept
        // statement last read it (a number then, a text now).
        EXPECT_TRUE(appserver::queryRows(db, all)[0][1].isFloat());
        other << "DROP TABLE PARAM";
        other << "CREATE TABLE PARAM (CDFILIAL VARCHAR(4), NRDIAS VARCHAR(5), IDATIVO VARCHAR(1))";
        other << "INSERT INTO PARAM VALUES ('0001', '7', 'S')";
        const auto changed = appserver::queryRows(db, all);
        ASSERT_EQ(changed.size(), 1u);
        EXPECT_TRUE(changed[0][1].isString());
        EXPECT_EQ(changed[0][1].asString(), "7");
        // A statement that fails leaves the kept ones usable.
        EXPECT_THROW(appserver::queryRows(db, "SELECT NADA FROM PARAM"), soci::soci_error);
        for (int i = 0; i < 5; ++i) appserver::queryValue(db, "SELECT " + std::to_string(i) + " FROM PARAM");
        EXPECT_EQ(cache.size(), 2u);
        EXPECT_EQ(read(), 7);
        // A query on another connection neither uses nor drops them.
        EXPECT_EQ(appserver::queryValue(other, days, {"0001"}, FieldType::Float).asFloat(), 7);
        EXPECT_EQ(cache.size(), 2u);
    }
    EXPECT_EQ(appserver::StatementCache::current(), nullptr);
    cache.clear();
    EXPECT_EQ(sqlite_api::sqlite3_next_stmt(appserver::sqliteHandle(db), nullptr), nullptr);
    EXPECT_FALSE(cache.serves(appserver::sqliteHandle(db)));
    db.close();
    other.close();
    std::filesystem::remove(file);
}

}  // namespace

// Columns read into the type the caller asks for, the same under any process locale.
#include <gtest/gtest.h>
#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>

#include "appserver/sql.h"

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

}  // namespace

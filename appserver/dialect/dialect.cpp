#include "appserver/dialect/dialect.h"

#include <charconv>

#include "appserver/catalog.h"
#include "appserver/sql.h"
#include "core/error.h"

namespace appserver {

const Dialect& dialectFor(Backend backend) {
    switch (backend) {
        case Backend::SQLite:
            return sqliteDialect();
        case Backend::PostgreSQL:
            return postgresqlDialect();
    }
    throw core::Error("Banco de dados sem dialeto conhecido.");
}

const Dialect& dialectOf(soci::session& db) {
    const auto name = db.get_backend_name();
    if (name == "sqlite3") return sqliteDialect();
    if (name == "postgresql") return postgresqlDialect();
    throw core::Error("Banco de dados sem dialeto conhecido: " + name + ".");
}

long long Dialect::highestNumber(soci::session& db, const std::string& table, const std::string& column,
                                 const std::vector<std::pair<std::string, std::string>>& equal) const {
    // Names go into the text, so they must be plain identifiers; values are bound.
    if (!isIdentifier(table) || !isIdentifier(column)) throw core::Error("Tabela inválida: \"" + table + "\".");
    // On PostgreSQL a failed statement spoils the whole transaction: ask first.
    if (!tableExists(db, table)) return 0;
    // Zero-padded text sorts as its number, so the text maximum is the numeric one.
    std::string sql = "SELECT MAX(" + column + ") FROM " + table;
    Params params;
    const char* glue = " WHERE ";
    for (const auto& [name, value] : equal) {
        if (!isIdentifier(name)) throw core::Error("Coluna inválida: \"" + name + "\".");
        sql += glue + name + " = :" + name;
        params.add(value);
        glue = " AND ";
    }
    const auto v = queryValue(db, sql, std::move(params), core::FieldType::String);
    if (v.isNull()) return 0;
    const auto text = v.asString();
    long long n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size()) return 0;
    return n;
}

}  // namespace appserver

#pragma once
#include <soci/soci.h>

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "appserver/database.h"

namespace appserver {

// A column as the database declares it, before the catalogue decides its kind.
struct ColumnDeclaration {
    std::string name;  // as the database spells it
    std::string type;  // the declared type, in the backend's words ("VARCHAR(30)", "character varying")
    int size = 0;      // characters for sized text; 0 when none is declared
};

// Everything the server does differently per database, in one place: one
// implementation per backend (sqlite_dialect.cpp, postgresql_dialect.cpp).
class Dialect {
public:
    virtual ~Dialect() = default;
    virtual Backend backend() const = 0;

    // Settings every session of the server runs with.
    virtual void prepareSession(soci::session& db) const = 0;
    // Opens the transaction of a call that may write.
    virtual void beginWriting(soci::session& db) const = 0;
    // Whether the failure is one worth running the whole call again for (a lock
    // conflict or a serialization failure), told by the database's error code.
    virtual bool isTransientError(const std::exception& e) const = 0;
    // The table's columns in declaration order; empty when it does not exist.
    virtual std::vector<ColumnDeclaration> columns(soci::session& db, const std::string& table) const = 0;
    virtual bool tableExists(soci::session& db, const std::string& table) const = 0;
    // Serialises schema migrations between servers starting together, until the
    // transaction ends.
    virtual void lockForMigration(soci::session& db) const = 0;

    // The highest number already in `column` of `table` among the rows whose
    // columns equal the given values (zero-padded text or an integer column); 0 when
    // there is none, it is not a number or the table is not there.
    long long highestNumber(soci::session& db, const std::string& table, const std::string& column,
                            const std::vector<std::pair<std::string, std::string>>& equal = {}) const;
};

const Dialect& dialectFor(Backend backend);
// The dialect of an open session, for code that is handed only the session (the demo seed).
const Dialect& dialectOf(soci::session& db);

const Dialect& sqliteDialect();
const Dialect& postgresqlDialect();

}  // namespace appserver

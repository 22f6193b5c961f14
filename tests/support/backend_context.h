#pragma once
#include <soci/soci.h>

#include <exception>
#include <string>
#include <vector>

#include "appserver/database.h"

namespace testsupport {

// What the tests must do differently per database, named in one place: one object
// per backend, the one under test chosen as TestServer chooses it (PostgreSQL when
// MXA_TEST_PG holds a connect string, else SQLite).
class BackendContext {
public:
    virtual ~BackendContext() = default;
    virtual std::string name() const = 0;
    virtual appserver::Backend backend() const = 0;

    // Statements that make the database itself refuse inserts into `table` of rows
    // meeting `condition` (columns as NEW.<column>), so a call fails halfway inside
    // the server as a real database failure would. `tag` names the objects created.
    virtual std::vector<std::string> failInserts(const std::string& table, const std::string& condition,
                                                 const std::string& tag) const = 0;

    // A statement that makes a table missing, whatever depends on it.
    virtual std::string dropTable(const std::string& table) const = 0;
    // How the database's own error messages spell a table created unquoted.
    virtual std::string nameInMessages(const std::string& table) const = 0;

    // Drives two sessions of one database into a real conflict the database solves
    // by failing a statement of `second` (SQLite: busy; PostgreSQL: serialization
    // failure), on row `key` of `table` (columns CDCHAVE and NMTEXTO, the row
    // already there). Both sessions are left outside any transaction; answers what
    // the failing statement threw, null when nothing failed.
    virtual std::exception_ptr transientFailure(soci::session& first, soci::session& second, const std::string& table,
                                                const std::string& key) const = 0;
};

const BackendContext& backendContext();

}  // namespace testsupport

#include "platform/read_only.h"

#include <soci/postgresql/soci-postgresql.h>
#include <soci/sqlite3/soci-sqlite3.h>
#include <sqlite3.h>

namespace platform {

namespace {

// SQLSTATE of a write attempted in a read-only transaction.
constexpr const char* kReadOnlyTransaction = "25006";

}  // namespace

void prepareReadOnlyConnection(soci::session& sql, const std::string& backend) {
    // SQLite has no read-only transaction; the connection itself refuses writes.
    if (backend == "sqlite3") sql << "PRAGMA query_only = ON";
}

ReadOnlyTransaction::ReadOnlyTransaction(soci::session& sql, const std::string& backend) : sql_(sql) {
    if (backend == "postgresql") {
        sql_ << "BEGIN READ ONLY";  // one round trip where begin and SET TRANSACTION take two
    } else if (backend == "oracle") {
        // Oracle opens its transaction with the first statement, which must be this one.
        sql_ << "SET TRANSACTION READ ONLY";
    } else {
        // Firebird: SOCI starts the transaction itself with default (read-write)
        // parameters, and SET TRANSACTION cannot run inside one. SQL Server through
        // ODBC has no read-only transaction statement. On both the look-up role's
        // grants keep the workstations read-only, and the rollback drops whatever a
        // statement did. SQLite's connection already refuses writes.
        sql_.begin();
    }
}

ReadOnlyTransaction::~ReadOnlyTransaction() {
    try {
        sql_.rollback();
    } catch (...) {
        // Already ended by the database (a failed statement, a lost connection):
        // the caller reports the statement's own error.
    }
}

bool isWriteRefusal(const soci::soci_error& e) {
    if (const auto* pg = dynamic_cast<const soci::postgresql_soci_error*>(&e))
        return pg->sqlstate() == kReadOnlyTransaction;
    if (const auto* lite = dynamic_cast<const soci::sqlite3_soci_error*>(&e))
        return (lite->result() & 0xff) == SQLITE_READONLY;
    return false;
}

}  // namespace platform

#include "appserver/database.h"

#include <soci/sqlite3/soci-sqlite3.h>

#include <cctype>
#include <stdexcept>

#include "appserver/dialect/dialect.h"
#include "appserver/sql.h"

namespace appserver {

DatabaseAddress parseDatabaseAddress(const std::string& db) {
    DatabaseAddress a;
    auto startsWith = [&](const char* p) { return db.rfind(p, 0) == 0; };
    if (startsWith("sqlite:") || startsWith("sqlite3:")) {
        a.backend = Backend::SQLite;
        a.sociBackend = "sqlite3";
        a.connect = db.substr(db.find(':') + 1);
        if (a.connect.rfind("//", 0) == 0) a.connect = a.connect.substr(2);  // sqlite://PATH
    } else if (startsWith("postgresql://") || startsWith("postgres://")) {
        a.backend = Backend::PostgreSQL;
        a.sociBackend = "postgresql";
        a.connect = db;  // libpq takes the URI as it stands
    } else if (startsWith("postgresql:")) {
        a.backend = Backend::PostgreSQL;
        a.sociBackend = "postgresql";
        a.connect = db.substr(11);
    } else {
        throw std::runtime_error("Banco de dados não reconhecido: \"" + db +
                                 "\" (use sqlite:CAMINHO ou postgresql://...).");
    }
    if (a.connect.empty()) throw std::runtime_error("Banco de dados sem endereço: \"" + db + "\".");
    return a;
}

void openSession(soci::session& db, const DatabaseAddress& address) {
    if (address.sociBackend == "sqlite3") {
        // A connection is only ever used by one thread at a time (the pool leases it), so
        // SQLite need not lock it on every call: a long list makes millions of them. Takes
        // effect only before SQLite's first use in the process; later it is refused, harmlessly.
        static const int multiThread = sqlite_api::sqlite3_config(SQLITE_CONFIG_MULTITHREAD);
        // Nor count its memory: the count is kept under one lock for the whole process,
        // taken at every allocation of every connection, and nothing here reads it.
        static const int noMemoryCount = sqlite_api::sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        (void)multiThread;
        (void)noMemoryCount;
    }
    db.open(address.sociBackend, address.connect);
    dialectFor(address.backend).prepareSession(db);
}

CallTransaction::CallTransaction(soci::session& db, const Dialect& dialect, bool readOnly) : db_(db) {
    if (readOnly)
        run(db_, "BEGIN");
    else
        dialect.beginWriting(db_);
    open_ = true;
}

CallTransaction::~CallTransaction() {
    if (!open_) return;
    try {
        run(db_, "ROLLBACK");
    } catch (...) {
        // The connection may be gone; there is nothing left to undo then.
    }
}

void CallTransaction::commit() {
    run(db_, "COMMIT");
    open_ = false;
}

void CallTransaction::rollback() {
    open_ = false;
    run(db_, "ROLLBACK");
}

}  // namespace appserver

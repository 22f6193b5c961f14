#include "appserver/database.h"

#include <cctype>
#include <stdexcept>

#include <soci/sqlite3/soci-sqlite3.h>

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
    db.open(address.sociBackend, address.connect);
    if (address.backend == Backend::SQLite) {
        db << "PRAGMA journal_mode=WAL";
        db << "PRAGMA busy_timeout=10000";
        db << "PRAGMA foreign_keys=ON";
        db << "PRAGMA synchronous=NORMAL";
    }
}

CallTransaction::CallTransaction(soci::session& db, Backend backend, bool readOnly) : db_(db) {
    if (backend == Backend::SQLite && !readOnly) db_ << "BEGIN IMMEDIATE";
    else db_.begin();
    open_ = true;
}

CallTransaction::~CallTransaction() {
    if (!open_) return;
    try {
        db_.rollback();
    } catch (...) {
        // The connection may be gone; there is nothing left to undo then.
    }
}

void CallTransaction::commit() {
    db_.commit();
    open_ = false;
}

void CallTransaction::rollback() {
    open_ = false;
    db_.rollback();
}

bool isTransientDatabaseError(const std::exception& e) {
    if (auto s = dynamic_cast<const soci::sqlite3_soci_error*>(&e)) {
        const int rc = s->result() & 0xFF;
        return rc == 5 /* SQLITE_BUSY */ || rc == 6 /* SQLITE_LOCKED */;
    }
    // PostgreSQL's serialization failure and deadlock, told by their messages (its
    // error class needs libpq's headers).
    const std::string what = e.what();
    return what.find("database is locked") != std::string::npos ||
           what.find("could not serialize access") != std::string::npos ||
           what.find("deadlock detected") != std::string::npos;
}

bool tableExists(soci::session& db, Backend backend, const std::string& table) {
    int n = 0;
    if (backend == Backend::SQLite) {
        db << "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND UPPER(name) = UPPER(:t)", soci::use(table),
            soci::into(n);
    } else {
        db << "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = current_schema() AND "
              "UPPER(table_name) = UPPER(:t)",
            soci::use(table), soci::into(n);
    }
    return n > 0;
}

}  // namespace appserver

#pragma once
#include <memory>
#include <string>

#include <soci/soci.h>

namespace appserver {

enum class Backend { SQLite, PostgreSQL };

// Where the database is: parsed from "sqlite:PATH", "postgresql://..." or
// "postgresql:<libpq connect string>".
struct DatabaseAddress {
    Backend backend = Backend::SQLite;
    std::string sociBackend;  // "sqlite3" or "postgresql"
    std::string connect;      // what soci::session::open takes
};
DatabaseAddress parseDatabaseAddress(const std::string& db);  // throws std::runtime_error

// Opens one session and sets it up for the server's work: on SQLite WAL, a busy
// timeout of 10 s and foreign keys on.
void openSession(soci::session& db, const DatabaseAddress& address);

// One transaction per server call, rolled back unless committed. On SQLite it
// takes the write lock up front (BEGIN IMMEDIATE) so that two writers never meet
// halfway and deadlock on the lock upgrade; the busy timeout then makes them queue.
class CallTransaction {
public:
    CallTransaction(soci::session& db, Backend backend, bool readOnly = false);
    ~CallTransaction();
    void commit();
    void rollback();
    CallTransaction(const CallTransaction&) = delete;
    CallTransaction& operator=(const CallTransaction&) = delete;

private:
    soci::session& db_;
    bool open_ = false;
};

// True for the errors worth retrying the whole call for: SQLite's busy/locked
// and PostgreSQL's serialization failure or deadlock.
bool isTransientDatabaseError(const std::exception& e);

// Whether a table exists in the session's database (current schema on PostgreSQL).
bool tableExists(soci::session& db, Backend backend, const std::string& table);

}  // namespace appserver

#pragma once
#include <memory>
#include <string>

#include <soci/soci.h>

namespace appserver {

class Dialect;

enum class Backend { SQLite, PostgreSQL };

// Where the database is: parsed from "sqlite:PATH", "postgresql://..." or
// "postgresql:<libpq connect string>".
struct DatabaseAddress {
    Backend backend = Backend::SQLite;
    std::string sociBackend;  // "sqlite3" or "postgresql"
    std::string connect;      // what soci::session::open takes
};
DatabaseAddress parseDatabaseAddress(const std::string& db);  // throws std::runtime_error

// Opens one session and sets it up for the server's work (its dialect's settings).
void openSession(soci::session& db, const DatabaseAddress& address);

// One transaction per server call, rolled back unless committed. A call that may
// write begins the way its dialect makes writers queue instead of deadlocking.
class CallTransaction {
public:
    CallTransaction(soci::session& db, const Dialect& dialect, bool readOnly = false);
    ~CallTransaction();
    void commit();
    void rollback();
    CallTransaction(const CallTransaction&) = delete;
    CallTransaction& operator=(const CallTransaction&) = delete;

private:
    soci::session& db_;
    bool open_ = false;
};

}  // namespace appserver

#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "appserver/thread_current.h"

namespace soci {
class session;
}
namespace sqlite_api {
struct sqlite3;
struct sqlite3_stmt;
}  // namespace sqlite_api

namespace appserver {

// The prepared SQLite statements of one pooled connection, kept from call to call:
// parsing a statement was half the cost of a one-row call. Only the thread that holds
// the connection's lease touches them, so they need no lock.
class StatementCache {
public:
    explicit StatementCache(size_t capacity = 64) : capacity_(capacity) {}
    ~StatementCache() { clear(); }
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // The connection the statements belong to (null: none, nothing is kept); another
    // one than before drops them.
    void bind(sqlite_api::sqlite3* h);
    // Whether statements of connection `h` are kept here.
    bool serves(const sqlite_api::sqlite3* h) const { return h && h == h_; }
    // A statement, with how its columns read as its last query found them (the
    // caller's own codes) and the count of SQLite's preparations they were found at: a
    // statement prepared again (another connection changed the schema) must read them anew.
    struct Kept;
    struct Statement {
        sqlite_api::sqlite3_stmt* st = nullptr;
        std::vector<unsigned char> columns;
        int preparedAt = -1;
        Kept* home = nullptr;  // its place in the cache, when taken from there
        uint64_t generation = 0;  // of the cache's contents it was taken from
    };
    // The statement kept for `sql`, now the caller's; `st` is null when none is kept.
    Statement take(const std::string& sql);
    // Keeps a statement taken or prepared for `sql` on the bound connection, reset and
    // unbound; the least recently used one goes when the cache is full.
    void giveBack(const std::string& sql, Statement statement);
    // Finalizes every statement and binds to no connection: before its connection
    // closes or is reopened, or when what was prepared on it is in doubt.
    void clear();
    size_t size() const { return kept_.size(); }

    // The cache of the connection this thread holds, while a lease keeps it installed.
    using Installed = ThreadCurrent<StatementCache>;
    static StatementCache* current() { return Installed::current(); }

    struct Kept {
        Statement statement;  // its st is null while taken: in use
        uint64_t used;
    };

private:
    size_t capacity_;
    sqlite_api::sqlite3* h_ = nullptr;
    uint64_t clock_ = 0;
    uint64_t generation_ = 0;
    std::unordered_map<std::string, Kept> kept_;
};

// The SQLite connection under a session, or null for another database.
sqlite_api::sqlite3* sqliteHandle(soci::session& db);

}  // namespace appserver

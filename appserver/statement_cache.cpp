#include "appserver/statement_cache.h"

#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>

namespace appserver {

namespace sq = sqlite_api;

void StatementCache::bind(sq::sqlite3* h) {
    if (h == h_) return;
    clear();
    h_ = h;
}

sq::sqlite3_stmt* StatementCache::take(const std::string& sql) {
    const auto it = kept_.find(sql);
    if (it == kept_.end()) return nullptr;
    // Out of the cache while in use: a query nested in another of the same text prepares its own.
    sq::sqlite3_stmt* st = it->second.st;
    kept_.erase(it);
    return st;
}

void StatementCache::giveBack(const std::string& sql, sq::sqlite3_stmt* st) {
    // Reset at once: a statement left stepping would hold its read open past the call.
    sq::sqlite3_reset(st);
    sq::sqlite3_clear_bindings(st);
    if (!h_ || kept_.count(sql)) {
        sq::sqlite3_finalize(st);
        return;
    }
    if (kept_.size() >= capacity_) {
        auto oldest = kept_.begin();
        for (auto it = kept_.begin(); it != kept_.end(); ++it)
            if (it->second.used < oldest->second.used) oldest = it;
        sq::sqlite3_finalize(oldest->second.st);
        kept_.erase(oldest);
    }
    kept_.emplace(sql, Kept{st, ++clock_});
}

void StatementCache::clear() {
    for (auto& [sql, kept] : kept_) sq::sqlite3_finalize(kept.st);
    kept_.clear();
    h_ = nullptr;  // bound again once its connection is open
}

sq::sqlite3* sqliteHandle(soci::session& db) {
    if (db.get_backend_name() != "sqlite3") return nullptr;
    return static_cast<soci::sqlite3_session_backend*>(db.get_backend())->conn_;
}

}  // namespace appserver

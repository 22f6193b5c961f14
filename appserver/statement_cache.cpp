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

StatementCache::Statement StatementCache::take(const std::string& sql) {
    const auto it = kept_.find(sql);
    // Kept while in use, without its statement: a query nested in another of the same
    // text prepares its own.
    if (it == kept_.end() || !it->second.statement.st) return {};
    Statement taken = std::move(it->second.statement);
    it->second.statement.st = nullptr;
    // Given back there without looking the text up again (a map's entries stay in place).
    taken.home = &it->second;
    taken.generation = generation_;
    return taken;
}

void StatementCache::giveBack(const std::string& sql, Statement statement) {
    // Reset at once: a statement left stepping would hold its read open past the call.
    sq::sqlite3_reset(statement.st);
    sq::sqlite3_clear_bindings(statement.st);
    if (!h_) {
        sq::sqlite3_finalize(statement.st);
        return;
    }
    if (statement.home && statement.generation == generation_) {
        // Back to its own place, without looking the text up again.
        Kept* home = statement.home;
        statement.home = nullptr;
        *home = Kept{std::move(statement), ++clock_};
        return;
    }
    if (kept_.count(sql)) {
        // A second statement of the same text (a nested query's) is not kept.
        sq::sqlite3_finalize(statement.st);
        return;
    }
    if (kept_.size() >= capacity_) {
        // The least recently used of those not in use; in use, they all stay.
        auto oldest = kept_.end();
        for (auto it2 = kept_.begin(); it2 != kept_.end(); ++it2)
            if (it2->second.statement.st && (oldest == kept_.end() || it2->second.used < oldest->second.used))
                oldest = it2;
        if (oldest != kept_.end()) {
            sq::sqlite3_finalize(oldest->second.statement.st);
            kept_.erase(oldest);
        }
    }
    kept_.emplace(sql, Kept{std::move(statement), ++clock_});
}

void StatementCache::clear() {
    // One in use is finalized by its query, which finds it gone.
    for (auto& [sql, kept] : kept_)
        if (kept.statement.st) sq::sqlite3_finalize(kept.statement.st);
    kept_.clear();
    ++generation_;  // what was taken before has no place here any more
    h_ = nullptr;  // bound again once its connection is open
}

sq::sqlite3* sqliteHandle(soci::session& db) {
    if (db.get_backend_name() != "sqlite3") return nullptr;
    return static_cast<soci::sqlite3_session_backend*>(db.get_backend())->conn_;
}

}  // namespace appserver

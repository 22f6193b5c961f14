#pragma once
#include <soci/soci.h>

#include <memory>
#include <optional>
#include <string>

#include "appserver/catalog.h"
#include "appserver/database.h"
#include "appserver/dialect/dialect.h"
#include "appserver/method_table.h"
#include "appserver/sessions/login_session.h"
#include "appserver/sql.h"
#include "appserver/statement_cache.h"
#include "core/variant.h"

namespace appserver {

// Database sessions shared by the HTTP workers, one per worker.
class SessionPool {
public:
    SessionPool(const DatabaseAddress& address, size_t size);
    ~SessionPool();

    // A session leased for one call; given back when it goes out of scope. While
    // leased, the queries this thread runs on it reuse the statements prepared by
    // its earlier calls.
    class Lease {
    public:
        Lease(SessionPool& pool);
        ~Lease();
        soci::session& db() { return pool_.pool_.at(index_); }
        // The session check's query, prepared on this connection at its first call.
        SessionLookup& sessionLookup();
        // Drops what was prepared on this connection (after a failure, it is made anew).
        void forgetPrepared();
        // Reopens the session after its connection was lost.
        void reopen();

    private:
        StatementCache& statements() { return *pool_.statements_.at(index_); }
        SessionPool& pool_;
        size_t index_;
        StatementCache::Installed installed_;
    };

private:
    DatabaseAddress address_;
    soci::connection_pool pool_;
    // Per connection, by the pool's index; declared after the pool so they go first.
    std::vector<std::unique_ptr<SessionLookup>> lookups_;
    std::vector<std::unique_ptr<StatementCache>> statements_;
};

// Runs one call: finds the method and, on a pooled session in one transaction
// (retried when the database was merely busy), checks the caller's login session
// (the request's Authorization header), decodes the envelope and runs the method;
// then encodes the answer and logs the call. Never throws: every failure becomes an
// {"error":...} answer; a call without a valid session runs nothing and is answered
// core::kSessionRefused.
class CallHandler {
public:
    CallHandler(MethodTable& methods, SessionPool& pool, Catalog& catalog, const Dialect& dialect,
                int sessionIdleMinutes)
        : methods_(methods),
          pool_(pool),
          catalog_(catalog),
          dialect_(dialect),
          sessionIdleMinutes_(sessionIdleMinutes) {}
    // The call posted to "/<module>/<method>"; any other path is refused. The body is
    // read in the form `in` and answered in the form `out`.
    //
    // With `sink` (binary answers only), a method that streams writes its rows to it
    // as it reads them; what is returned is then the rest of the answer: its end, or
    // the failure that stopped it.
    std::string handlePath(const std::string& path, const std::string& body, const std::string& authorization,
                           core::Wire in = core::Wire::Json, core::Wire out = core::Wire::Json,
                           AnswerSink* sink = nullptr);
    std::string handle(const std::string& module, const std::string& method, const std::string& body,
                       const std::string& authorization, core::Wire in = core::Wire::Json,
                       core::Wire out = core::Wire::Json, AnswerSink* sink = nullptr);
    // Whether the method the path names may stream its answer.
    bool streams(const std::string& path) const;

private:
    struct Context;
    // The method in its transaction, after the session check (`check`, left empty when
    // the check could not run) and the decoding of its arguments.
    std::string run(const Context& cx, const MethodTable::Entry& entry, const std::string& body,
                    const std::string& authorization, core::Wire in, SessionPool::Lease& lease, LoginSession& login,
                    std::optional<SessionCheck>& check);

    MethodTable& methods_;
    SessionPool& pool_;
    Catalog& catalog_;
    const Dialect& dialect_;
    int sessionIdleMinutes_;
};

}  // namespace appserver

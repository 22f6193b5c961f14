#include "appserver/call_handler.h"

#include <spdlog/spdlog.h>

#include <chrono>
#include <optional>
#include <thread>

#include "appserver/refusal.h"
#include "core/error.h"
#include "core/variant.h"

namespace appserver {

SessionPool::SessionPool(const DatabaseAddress& address, size_t size) : address_(address), pool_(size), lookups_(size) {
    for (size_t i = 0; i < size; ++i) {
        openSession(pool_.at(i), address_);
        statements_.push_back(std::make_unique<StatementCache>());
    }
}

SessionPool::~SessionPool() = default;

SessionPool::Lease::Lease(SessionPool& pool)
    : pool_(pool), index_(pool.pool_.lease()), installed_(*pool.statements_.at(index_)) {
    statements().bind(sqliteHandle(db()));
}

SessionPool::Lease::~Lease() { pool_.pool_.give_back(index_); }

SessionLookup& SessionPool::Lease::sessionLookup() {
    auto& lookup = pool_.lookups_.at(index_);
    if (!lookup) lookup = std::make_unique<SessionLookup>(db());
    return *lookup;
}

void SessionPool::Lease::forgetPrepared() {
    pool_.lookups_.at(index_).reset();
    statements().clear();
}

void SessionPool::Lease::reopen() {
    forgetPrepared();  // first: SQLite does not close a connection whose statements are still prepared
    auto& session = db();
    try {
        session.close();
    } catch (...) {
    }
    openSession(session, pool_.address_);
    statements().bind(sqliteHandle(session));
}

namespace {

constexpr int kAttempts = 4;

// Whether the session still talks to its database after a failure.
bool sessionAlive(soci::session& db) {
    try {
        int one = 0;
        db << "SELECT 1", soci::into(one);
        return true;
    } catch (...) {
        return false;
    }
}

// "/rdmPedidoAna/GetParamMXA" -> {"rdmPedidoAna", "GetParamMXA"}; empty when the path has another shape.
std::pair<std::string, std::string> splitPath(const std::string& path) {
    if (path.size() < 2 || path[0] != '/') return {};
    const auto slash = path.find('/', 1);
    if (slash == std::string::npos || path.find('/', slash + 1) != std::string::npos) return {};
    return {path.substr(1, slash - 1), path.substr(slash + 1)};
}

}  // namespace

std::string CallHandler::handlePath(const std::string& path, const std::string& body, const std::string& authorization,
                                    core::Wire in, core::Wire out, AnswerSink* sink) {
    const auto [module, method] = splitPath(path);
    if (module.empty() || method.empty())
        return core::encodeError("Caminho inválido: \"" + path + "\" (use /<módulo>/<método>).", out);
    return handle(module, method, body, authorization, in, out, sink);
}

bool CallHandler::streams(const std::string& path) const {
    const auto [module, method] = splitPath(path);
    const MethodTable::Entry* entry = methods_.find(module, method);
    return entry && entry->streams;
}

// What every answer of one call needs: its names for the log, the form of its answer
// and, once rows went out, the stream a failure can only end.
struct CallHandler::Context {
    const std::string& module;
    const std::string& method;
    core::Wire out;
    AnswerSink* sink;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();

    bool streaming() const { return sink && sink->started(); }
    double elapsed() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    }
    std::string refuse(const std::string& message) const {
        spdlog::warn("{}.{} {:.1f} ms erro: {}", module, method, elapsed(), message);
        return streaming() ? core::streamedFailure(message) : core::encodeError(message, out);
    }
};

std::string CallHandler::handle(const std::string& module, const std::string& method, const std::string& body,
                                const std::string& authorization, core::Wire in, core::Wire out, AnswerSink* sink) {
    const Context cx{module, method, out, out == core::Wire::Binary ? sink : nullptr};
    const MethodTable::Entry* entry = methods_.find(module, method);
    if (!entry) {
        if (!methods_.hasModule(module)) return cx.refuse("Módulo desconhecido no servidor de aplicação: " + module + ".");
        return cx.refuse("Método desconhecido no servidor de aplicação: " + module + "." + method + ".");
    }

    SessionPool::Lease lease(pool_);
    LoginSession login;
    std::optional<SessionCheck> check;
    std::string answer = run(cx, *entry, body, authorization, in, lease, login, check);
    if (!check) return answer;
    // What the check found to write (an idle session closed, a use recorded) waits for
    // the call to be over, so a reading call's transaction stays a reader.
    try {
        finishSessionCheck(lease.db(), *check, login);
    } catch (const std::exception& e) {
        spdlog::warn("{}.{}: sessão não atualizada: {}", module, method, e.what());
    }
    if (*check == SessionCheck::Open) return answer;
    spdlog::warn("{}.{} recusado: {}", module, method, describe(*check));
    return core::encodeError(core::kSessionRefused, out);
}

std::string CallHandler::run(const Context& cx, const MethodTable::Entry& entry, const std::string& body,
                             const std::string& authorization, core::Wire in, SessionPool::Lease& lease,
                             LoginSession& login, std::optional<SessionCheck>& check) {
    std::optional<std::vector<core::Variant>> args;  // decoded once, kept for a retry
    // A connection lost since its last call is opened again, once, while nothing of
    // the call has run yet.
    bool reopened = false;
    for (int attempt = 1;; ++attempt) {
        enum class Stage { Begin, Session, Method } stage = Stage::Begin;
        try {
            CallTransaction tx(lease.db(), dialect_, entry.readOnly);
            if (entry.needsSession) {
                // In the call's transaction: the session is read in the same snapshot as
                // all the call reads, and the database is read once per call, not twice.
                stage = Stage::Session;
                check = findLoginSession(authorization, sessionIdleMinutes_, login, lease.sessionLookup());
                if (*check != SessionCheck::Open) return {};
            }
            stage = Stage::Method;
            if (!args) {
                // After the session check: a caller without one learns nothing of its call.
                try {
                    args = core::decodeCall(body, in);
                } catch (const std::exception& e) {
                    return cx.refuse(e.what());
                }
            }
            Call call(cx.method, *args, lease.db(), dialect_, catalog_, entry.needsSession ? &login : nullptr,
                      sessionIdleMinutes_);
            core::Variant result;
            // Installed for the method only; a method without the flag never streams.
            std::optional<AnswerSink::Installed> streamTo;
            if (cx.sink && entry.streams) streamTo.emplace(*cx.sink);
            try {
                result = entry.method(call);
            } catch (const RefusalKeepingWrites& e) {
                tx.commit();
                return cx.refuse(e.what());
            }
            tx.commit();
            if (spdlog::should_log(spdlog::level::info))
                spdlog::info("{}.{} {:.1f} ms ok", cx.module, cx.method, cx.elapsed());
            if (cx.streaming()) return core::streamedEnd(cx.sink->rows(), call.out());
            return core::encodeResult(result, call.out(), cx.out);
        } catch (const core::Error& e) {
            // The method's own refusal (a fixed code or a message): passed on as it stands.
            return cx.refuse(e.what());
        } catch (const std::exception& e) {
            if (stage == Stage::Session) {
                lease.forgetPrepared();  // the connection's prepared check is in doubt
                check.reset();
            }
            if (dialect_.isTransientError(e) && attempt < kAttempts && !cx.streaming()) {
                spdlog::debug("{}.{} banco ocupado, tentativa {}", cx.module, cx.method, attempt);
                std::this_thread::sleep_for(std::chrono::milliseconds(20 * attempt));
                continue;
            }
            if (!sessionAlive(lease.db())) {
                try {
                    lease.reopen();
                    if (stage != Stage::Method && !reopened) {
                        reopened = true;
                        continue;
                    }
                } catch (const std::exception& again) {
                    spdlog::error("Sessão do banco de dados não pôde ser reaberta: {}", again.what());
                }
            }
            if (stage == Stage::Session) {
                spdlog::error("{}.{}: sessão não verificada: {}", cx.module, cx.method, e.what());
                return cx.refuse("Erro no servidor de aplicação: a sessão não pôde ser verificada.");
            }
            if (const auto* dbError = dynamic_cast<const soci::soci_error*>(&e)) {
                // The statement text stays in the server's log; the user gets the database's own words.
                spdlog::error("{}.{}: {}", cx.module, cx.method, e.what());
                std::string words = dbError->get_error_message();
                words = words.substr(0, words.find('\n'));  // PostgreSQL adds the statement line
                return cx.refuse("Erro no banco de dados: " + words);
            }
            return cx.refuse(std::string("Erro no servidor de aplicação: ") + e.what());
        } catch (...) {
            return cx.refuse("Erro interno no servidor de aplicação.");
        }
    }
}

}  // namespace appserver

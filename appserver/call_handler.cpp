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

std::string CallHandler::handle(const std::string& module, const std::string& method, const std::string& body,
                                const std::string& authorization, core::Wire in, core::Wire out, AnswerSink* sink) {
    if (out != core::Wire::Binary) sink = nullptr;
    // Once rows went out, a failure can only end the stream.
    auto streaming = [&] { return sink && sink->started(); };
    const auto started = std::chrono::steady_clock::now();
    auto elapsed = [&] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    };
    auto refuse = [&](const std::string& message) {
        spdlog::warn("{}.{} {:.1f} ms erro: {}", module, method, elapsed(), message);
        return streaming() ? core::streamedFailure(message) : core::encodeError(message, out);
    };

    const MethodTable::Entry* entry = methods_.find(module, method);
    if (!entry) {
        if (!methods_.hasModule(module)) return refuse("Módulo desconhecido no servidor de aplicação: " + module + ".");
        return refuse("Método desconhecido no servidor de aplicação: " + module + "." + method + ".");
    }

    SessionPool::Lease lease(pool_);
    LoginSession login;
    if (entry->needsSession) {
        SessionCheck check;
        try {
            try {
                check = findLoginSession(lease.db(), authorization, sessionIdleMinutes_, login, lease.sessionLookup());
            } catch (const std::exception&) {
                lease.forgetPrepared();
                // The pooled connection may have been lost since its last call.
                if (sessionAlive(lease.db())) throw;
                lease.reopen();
                check = findLoginSession(lease.db(), authorization, sessionIdleMinutes_, login, lease.sessionLookup());
            }
        } catch (const std::exception& e) {
            spdlog::error("{}.{}: sessão não verificada: {}", module, method, e.what());
            return refuse("Erro no servidor de aplicação: a sessão não pôde ser verificada.");
        }
        if (check != SessionCheck::Open) {
            spdlog::warn("{}.{} recusado: {}", module, method, describe(check));
            return core::encodeError(core::kSessionRefused, out);
        }
    }

    std::vector<core::Variant> args;
    try {
        args = core::decodeCall(body, in);
    } catch (const std::exception& e) {
        return refuse(e.what());
    }

    for (int attempt = 1;; ++attempt) {
        try {
            CallTransaction tx(lease.db(), dialect_, entry->readOnly);
            Call call(method, args, lease.db(), dialect_, catalog_, entry->needsSession ? &login : nullptr,
                      sessionIdleMinutes_);
            core::Variant result;
            // Installed for the method only; a method without the flag never streams.
            std::optional<AnswerSink::Installed> streamTo;
            if (sink && entry->streams) streamTo.emplace(*sink);
            try {
                result = entry->method(call);
            } catch (const RefusalKeepingWrites& e) {
                tx.commit();
                return refuse(e.what());
            }
            tx.commit();
            spdlog::info("{}.{} {:.1f} ms ok", module, method, elapsed());
            if (streaming()) return core::streamedEnd(sink->rows(), call.out());
            return core::encodeResult(result, call.out(), out);
        } catch (const core::Error& e) {
            // The method's own refusal (a fixed code or a message): passed on as it stands.
            return refuse(e.what());
        } catch (const std::exception& e) {
            if (dialect_.isTransientError(e) && attempt < kAttempts && !streaming()) {
                spdlog::debug("{}.{} banco ocupado, tentativa {}", module, method, attempt);
                std::this_thread::sleep_for(std::chrono::milliseconds(20 * attempt));
                continue;
            }
            if (!sessionAlive(lease.db())) {
                try {
                    lease.reopen();
                } catch (const std::exception& again) {
                    spdlog::error("Sessão do banco de dados não pôde ser reaberta: {}", again.what());
                }
            }
            if (const auto* dbError = dynamic_cast<const soci::soci_error*>(&e)) {
                // The statement text stays in the server's log; the user gets the database's own words.
                spdlog::error("{}.{}: {}", module, method, e.what());
                std::string words = dbError->get_error_message();
                words = words.substr(0, words.find('\n'));  // PostgreSQL adds the statement line
                return refuse("Erro no banco de dados: " + words);
            }
            return refuse(std::string("Erro no servidor de aplicação: ") + e.what());
        } catch (...) {
            return refuse("Erro interno no servidor de aplicação.");
        }
    }
}

}  // namespace appserver

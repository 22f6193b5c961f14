#include "appserver/sessions/login_session.h"

#include <sodium.h>
#include <spdlog/spdlog.h>

#include <cctype>
#include <optional>

#include "appserver/sql.h"
#include "appserver/statement_cache.h"
#include "core/datetime.h"

namespace appserver {

namespace {

constexpr size_t kTokenBytes = 32;
constexpr double kMinutesPerDay = 24.0 * 60.0;
// How long a password typed for an authorization stands for its operator.
constexpr double kProofDays = 15.0 / kMinutesPerDay;
// Last use is recorded at most this often: a reading call then seldom writes.
constexpr double kTouchEveryDays = 1.0 / kMinutesPerDay;

std::string hex(const unsigned char* bytes, size_t n) {
    std::string out(n * 2 + 1, '\0');
    sodium_bin2hex(out.data(), out.size(), bytes, n);
    out.pop_back();
    return out;
}

std::string hashOf(const std::string& token) {
    unsigned char h[crypto_generichash_BYTES];
    crypto_generichash(h, sizeof h, reinterpret_cast<const unsigned char*>(token.data()), token.size(), nullptr, 0);
    return hex(h, sizeof h);
}

bool isToken(const std::string& t) {
    if (t.size() != kTokenBytes * 2) return false;
    for (char c : t)
        if (!std::isdigit(static_cast<unsigned char>(c)) && (c < 'a' || c > 'f')) return false;
    return true;
}

bool startsWithBearer(const std::string& header) {
    static const std::string scheme = "bearer ";
    if (header.size() <= scheme.size()) return false;
    for (size_t i = 0; i < scheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(header[i])) != scheme[i]) return false;
    return true;
}

}  // namespace

std::string openLoginSession(soci::session& db, const std::string& operador, const std::string& filial) {
    unsigned char bytes[kTokenBytes];
    randombytes_buf(bytes, sizeof bytes);
    const std::string token = hex(bytes, sizeof bytes);
    const auto now = core::DateTime::now();
    execute(db, "INSERT INTO SESSAO (CDSESSAO, CDOPERADOR, CDFILIAL, DTABERTURA, DTULTUSO) VALUES (:h, :o, :f, :a, :u)",
            {hashOf(token), operador, filial, now, now});
    return token;
}

const char* describe(SessionCheck check) {
    switch (check) {
        case SessionCheck::Open:
            return "aberta";
        case SessionCheck::Absent:
            return "sem Authorization";
        case SessionCheck::Malformed:
            return "Authorization mal formado";
        case SessionCheck::Unknown:
            return "sessão desconhecida ou encerrada";
        case SessionCheck::Idle:
            return "sessão expirada por inatividade";
    }
    return "?";
}

namespace {
const std::string kLookupSql = "SELECT CDOPERADOR, CDFILIAL, DTULTUSO FROM SESSAO WHERE CDSESSAO = :h";
}  // namespace

struct SessionLookup::Impl {
    soci::session& db;
    // On SQLite the check runs through the connection's kept statements, as the call's
    // own queries do; elsewhere through this one, bound by address: the statement reads
    // and writes these on every run.
    bool kept = false;
    std::string key, operador, filial;
    double lastUse = 0;
    soci::indicator operadorInd = soci::i_ok, filialInd = soci::i_ok, lastUseInd = soci::i_ok;
    std::optional<soci::statement> st;

    explicit Impl(soci::session& session) : db(session), kept(sqliteHandle(session) != nullptr) {
        if (kept) return;
        st.emplace((db.prepare << kLookupSql, soci::use(key), soci::into(operador, operadorInd),
                    soci::into(filial, filialInd), soci::into(lastUse, lastUseInd)));
    }
};

SessionLookup::SessionLookup(soci::session& db) : impl_(std::make_unique<Impl>(db)) {}

SessionLookup::~SessionLookup() = default;

bool SessionLookup::find(const std::string& tokenHash, std::string& operador, std::string& filial, double& lastUse) {
    auto& q = *impl_;
    if (q.kept) {
        using core::FieldType;
        const auto rows = queryRows(q.db, kLookupSql, {tokenHash}, {FieldType::String, FieldType::String, FieldType::Float});
        if (rows.empty()) return false;
        // A null reads as "" and 0, as the prepared statement's indicators give it.
        operador = rows[0][0].asString();
        filial = rows[0][1].asString();
        lastUse = rows[0][2].asFloat();
        return true;
    }
    q.key = tokenHash;
    if (!q.st->execute(true)) return false;
    operador = q.operadorInd == soci::i_null ? std::string() : q.operador;
    filial = q.filialInd == soci::i_null ? std::string() : q.filial;
    lastUse = q.lastUseInd == soci::i_null ? 0.0 : q.lastUse;
    // Run to the end: an unfinished statement would keep its read open.
    while (q.st->fetch()) {
    }
    return true;
}

SessionCheck findLoginSession(const std::string& authorization, int idleMinutes, LoginSession& found,
                              SessionLookup& lookup) {
    if (authorization.empty()) return SessionCheck::Absent;
    if (!startsWithBearer(authorization)) return SessionCheck::Malformed;
    const std::string token = authorization.substr(authorization.find_first_not_of(' ', 7));
    if (!isToken(token)) return SessionCheck::Malformed;
    LoginSession s;
    s.tokenHash = hashOf(token);
    if (!lookup.find(s.tokenHash, s.operador, s.filial, s.lastUse)) return SessionCheck::Unknown;
    const double now = core::DateTime::now().days;
    const bool idle = now - s.lastUse > idleMinutes / kMinutesPerDay;
    s.useDue = now - s.lastUse > kTouchEveryDays;
    found = std::move(s);
    return idle ? SessionCheck::Idle : SessionCheck::Open;
}

void finishSessionCheck(soci::session& db, SessionCheck check, const LoginSession& found) {
    if (check == SessionCheck::Idle) return closeLoginSession(db, found.tokenHash);
    if (check != SessionCheck::Open || !found.useDue) return;
    try {
        execute(db, "UPDATE SESSAO SET DTULTUSO = :u WHERE CDSESSAO = :h", {core::DateTime::now(), found.tokenHash});
    } catch (const std::exception& e) {
        // Only the idle clock is late; the next call records the use.
        spdlog::debug("Uso da sessão não registrado: {}", e.what());
    }
}

void recordPasswordProof(soci::session& db, const LoginSession& session, const std::string& operador) {
    execute(db, "UPDATE SESSAO SET CDOPERAUTORIZ = :o, DTAUTORIZ = :d WHERE CDSESSAO = :h",
            {operador, core::DateTime::now(), session.tokenHash});
}

bool hasPasswordProof(soci::session& db, const LoginSession& session, const std::string& operador) {
    const auto proved =
        queryValue(db,
                   "SELECT COUNT(*) FROM SESSAO WHERE CDSESSAO = :h AND CDOPERAUTORIZ = :o "
                   "AND DTAUTORIZ >= :d",
                   {session.tokenHash, operador, core::DateTime(core::DateTime::now().days - kProofDays)},
                   core::FieldType::Integer);
    return proved.asInteger() > 0;
}

void closeLoginSession(soci::session& db, const std::string& tokenHash) {
    execute(db, "DELETE FROM SESSAO WHERE CDSESSAO = :h", {tokenHash});
}

void closeIdleLoginSessions(soci::session& db, int idleMinutes) {
    const double limit = core::DateTime::now().days - idleMinutes / kMinutesPerDay;
    execute(db, "DELETE FROM SESSAO WHERE DTULTUSO < :l", {core::DateTime(limit)});
}

}  // namespace appserver

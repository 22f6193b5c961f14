#include "appserver/sessions/password_checks.h"

#include <sodium.h>
#include <spdlog/spdlog.h>

#include <cmath>

#include "appserver/sql.h"
#include "core/datetime.h"
#include "core/error.h"

namespace appserver {

namespace {

constexpr double kMinutesPerDay = 24.0 * 60.0;

bool matches(const std::string& typed, const std::string& hash) {
    if (hash.empty() || hash.size() >= crypto_pwhash_STRBYTES) return false;
    return crypto_pwhash_str_verify(hash.c_str(), typed.c_str(), typed.size()) == 0;
}

[[noreturn]] void refuseLocked(double lockedUntil, double now) {
    const int minutes = std::max(1, static_cast<int>(std::ceil((lockedUntil - now) * kMinutesPerDay - 1e-9)));
    throw core::Error("Operador bloqueado após " + std::to_string(kMaxPasswordFailures) +
                      " senhas inválidas. Tente novamente em " + std::to_string(minutes) +
                      (minutes == 1 ? " minuto." : " minutos."));
}

// Counts one failure: within the window it adds to the count, and the count
// reaching the limit locks the operator; otherwise a new count starts.
void countFailure(soci::session& db, const std::string& operador, double now) {
    const double windowStart = now - kFailureWindowMinutes / kMinutesPerDay;
    // One conditional update each, so two servers counting at once both count.
    if (execute(db,
                "UPDATE FALHASENHA SET NRFALHAS = NRFALHAS + 1 "
                "WHERE CDOPERADOR = :o AND DTBLOQUEIO IS NULL AND DTPRIMFALHA >= :w",
                {operador, core::DateTime(windowStart)}) == 0 &&
        execute(db, "UPDATE FALHASENHA SET NRFALHAS = 1, DTPRIMFALHA = :n, DTBLOQUEIO = NULL WHERE CDOPERADOR = :o",
                {core::DateTime(now), operador}) == 0)
        execute(db, "INSERT INTO FALHASENHA (CDOPERADOR, NRFALHAS, DTPRIMFALHA) VALUES (:o, 1, :n)",
                {operador, core::DateTime(now)});
    const auto failures =
        queryValue(db, "SELECT NRFALHAS FROM FALHASENHA WHERE CDOPERADOR = :o", {operador}, core::FieldType::Integer)
            .asInteger();
    spdlog::warn("Senha inválida do operador {} ({} em {} minutos)", operador, failures, kFailureWindowMinutes);
    if (failures < kMaxPasswordFailures) return;
    execute(db, "UPDATE FALHASENHA SET DTBLOQUEIO = :b WHERE CDOPERADOR = :o",
            {core::DateTime(now + kLockMinutes / kMinutesPerDay), operador});
    spdlog::warn("Operador {} bloqueado por {} minutos após {} senhas inválidas", operador, kLockMinutes, failures);
}

}  // namespace

PasswordVerdict checkPassword(soci::session& db, const std::string& operador, const std::string& typed,
                              const std::string& hash) {
    const double now = core::DateTime::now().days;
    const auto lock =
        queryValue(db, "SELECT DTBLOQUEIO FROM FALHASENHA WHERE CDOPERADOR = :o", {operador}, core::FieldType::Float);
    if (!lock.isNull() && lock.asFloat() > now) {
        spdlog::warn("Verificação de senha do operador {} recusada: bloqueado", operador);
        refuseLocked(lock.asFloat(), now);
    }
    if (matches(typed, hash)) {
        execute(db, "DELETE FROM FALHASENHA WHERE CDOPERADOR = :o", {operador});
        return PasswordVerdict::Match;
    }
    countFailure(db, operador, now);
    return PasswordVerdict::Mismatch;
}

}  // namespace appserver

// The host's own services: login and logout, the server's clock, permission checks.
#include <spdlog/spdlog.h>

#include "appserver/methods/methods.h"
#include "appserver/methods/permissions.h"
#include "appserver/refusal.h"
#include "appserver/sessions/login_session.h"
#include "appserver/sessions/password_checks.h"
#include "appserver/sql.h"
#include "core/error.h"

namespace appserver {

namespace {

using core::FieldType;

constexpr const char* kBadLogin = "Operador ou senha inválidos.";

// Opens a session for an active operator whose password matches (the typed
// password is checked against the stored hash and never stored); the token comes
// back once, as TOKEN. An unknown operator gets the same answer as a wrong password.
core::Variant Login(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    auto rows = queryRows(c.db(),
                          "SELECT CDOPERADOR, NMOPERADOR, CDFILIAL, CDSENHAOPER FROM OPERADOR "
                          "WHERE CDOPERADOR = :o AND COALESCE(IDATIVO, 'S') = 'S'",
                          {c.text(0)}, {FieldType::String, FieldType::String, FieldType::String, FieldType::String});
    if (rows.empty()) throw core::Error(kBadLogin);
    const std::string operador = rows[0][0].asString();
    if (checkPassword(c.db(), operador, c.text(1), rows[0][3].asString()) != PasswordVerdict::Match)
        throw RefusalKeepingWrites(kBadLogin);
    closeIdleLoginSessions(c.db(), c.sessionIdleMinutes());
    const std::string token = openLoginSession(c.db(), operador, rows[0][2].asString());
    spdlog::info("Sessão aberta para o operador {}", operador);
    core::Packet p;
    p.fields = {field("CDOPERADOR", FieldType::String, 12, true), field("NMOPERADOR", FieldType::String, 40),
                field("CDFILIAL", FieldType::String, 4), field("TOKEN", FieldType::String, 64)};
    p.rows.push_back({rows[0][0], rows[0][1], rows[0][2], token});
    return p;
}

// Closes the caller's session (the program closing); its token opens nothing after.
core::Variant Logout(Call& c) {
    c.expect({});
    closeLoginSession(c.db(), c.login().tokenHash);
    return true;
}

// "H" and "S" both answer the full date-time; the caller keeps the part it needs.
core::Variant DtServ(Call& c) {
    c.expect({Arg::Text}, 1);
    return core::DateTime::now();
}

core::Variant Autorizacao(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return holdsPermission(c.db(), c.text(0), c.text(1));
}

}  // namespace

bool holdsPermission(soci::session& db, const std::string& operador, const std::string& permission) {
    const auto n = queryValue(db,
                              "SELECT COUNT(*) FROM OPERGRUPO OG JOIN AUTGRUPOPER A ON A.CDGRUPOPER = OG.CDGRUPOPER "
                              "WHERE OG.CDOPERADOR = :o AND UPPER(A.IDAUTGRUPOP) = UPPER(:c)",
                              {operador, permission}, FieldType::Integer);
    return n.asInteger() > 0;
}

void registerHostMethods(MethodTable& t) {
    t.addWithoutSession(kHostModule, "Login", Login);
    t.add(kHostModule, "Logout", Logout);
    t.add(kHostModule, "DtServ", DtServ, true);
    t.add(kHostModule, "Autorizacao", Autorizacao, true);
}

}  // namespace appserver

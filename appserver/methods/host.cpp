// The host's own services: login, the server's clock, permission checks.
#include <sodium.h>

#include "appserver/methods/methods.h"
#include "appserver/sql.h"
#include "core/error.h"

namespace appserver {

namespace {

using core::FieldType;

constexpr const char* kBadLogin = "Operador ou senha inválidos.";

// Only the argon2id hash is stored; the typed password is checked against it here
// and never leaves the server or gets stored.
bool passwordMatches(const std::string& typed, const std::string& hash) {
    if (hash.empty() || hash.size() >= crypto_pwhash_STRBYTES) return false;
    return crypto_pwhash_str_verify(hash.c_str(), typed.c_str(), typed.size()) == 0;
}

core::Variant Login(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    auto rows = queryRows(c.db(),
                          "SELECT CDOPERADOR, NMOPERADOR, CDFILIAL, CDSENHAOPER FROM OPERADOR "
                          "WHERE CDOPERADOR = :o AND COALESCE(IDATIVO, 'S') = 'S'",
                          {c.text(0)}, {FieldType::String, FieldType::String, FieldType::String, FieldType::String});
    if (rows.empty() || !passwordMatches(c.text(1), rows[0][3].asString())) throw core::Error(kBadLogin);
    core::Packet p;
    p.fields = {field("CDOPERADOR", FieldType::String, 12, true), field("NMOPERADOR", FieldType::String, 40),
                field("CDFILIAL", FieldType::String, 4)};
    p.rows.push_back({rows[0][0], rows[0][1], rows[0][2]});
    return p;
}

// "H" and "S" both answer the full date-time; the caller keeps the part it needs.
core::Variant DtServ(Call& c) {
    c.expect({Arg::Text}, 1);
    return core::DateTime::now();
}

core::Variant Autorizacao(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    const auto n = queryValue(c.db(),
                              "SELECT COUNT(*) FROM OPERGRUPO OG JOIN AUTGRUPOPER A ON A.CDGRUPOPER = OG.CDGRUPOPER "
                              "WHERE OG.CDOPERADOR = :o AND UPPER(A.IDAUTGRUPOP) = UPPER(:c)",
                              {c.text(0), c.text(1)}, FieldType::Integer);
    return n.asInteger() > 0;
}

}  // namespace

void registerHostMethods(MethodTable& t) {
    t.add(kHostModule, "Login", Login, true);
    t.add(kHostModule, "DtServ", DtServ, true);
    t.add(kHostModule, "Autorizacao", Autorizacao, true);
}

}  // namespace appserver

// Methods of the authorization and justification dialogs: who may authorize a
// protected change, the justification catalogue, and the trail of justifications
// given on requests (JUSTIFICAANA, append-only).
#include "appserver/methods/methods.h"
#include "appserver/numbering.h"
#include "appserver/sessions/login_session.h"
#include "appserver/sessions/password_checks.h"
#include "appserver/sql.h"
#include "core/error.h"

namespace appserver {

namespace {

using core::FieldType;

constexpr const char* kJusNCad = "Justificativa não cadastrada";

// Groups of the operator that hold the permission code: an empty answer means the
// operator lacks the right. The code comes by reference and goes back as it came.
core::Variant GetPermissao(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    core::Packet p = queryPacket(c.db(),
                                 {field("CDGRUPOPER", FieldType::String, 2), field("CDOPERADOR", FieldType::String, 12),
                                  field("NMOPERADOR", FieldType::String, 40)},
                                 "SELECT OG.CDGRUPOPER, O.CDOPERADOR, O.NMOPERADOR "
                                 "FROM OPERADOR O "
                                 "JOIN OPERGRUPO OG ON OG.CDOPERADOR = O.CDOPERADOR "
                                 "JOIN AUTGRUPOPER A ON A.CDGRUPOPER = OG.CDGRUPOPER "
                                 "WHERE O.CDOPERADOR = :o AND UPPER(A.IDAUTGRUPOP) = UPPER(:c) "
                                 "AND COALESCE(O.IDATIVO, 'S') = 'S' "
                                 "ORDER BY OG.CDGRUPOPER",
                                 {trimmed(c.text(0)), trimmed(c.text(1))});
    // Group leaders are not kept in this database; the columns travel empty.
    p.fields.push_back(field("CDLIDGRUPOP", FieldType::String, 12));
    p.fields.push_back(field("IDLIDER", FieldType::String, 1));
    for (auto& row : p.rows) row.resize(p.fields.size());
    c.setOut(1, c.text(1));
    return p;
}

// Name of an active operator. With the typed password as second argument the
// answer also says whether it matches (IDSENHAOK "S"/"N"); CDSENHOPER always
// travels empty: neither the password nor its hash leaves the server. Password
// checks count towards the operator's lock-out, as the login's do.
core::Variant GetVdOperador(Call& c) {
    c.expect({Arg::Text, Arg::Text}, 1);
    auto rows = queryRows(c.db(),
                          "SELECT NMOPERADOR, CDSENHAOPER, CDOPERADOR FROM OPERADOR "
                          "WHERE CDOPERADOR = :o AND COALESCE(IDATIVO, 'S') = 'S'",
                          {trimmed(c.text(0))}, {FieldType::String, FieldType::String, FieldType::String});
    core::Packet p;
    p.fields = {field("CDSENHOPER", FieldType::String, 128), field("NMOPERADOR", FieldType::String, 40),
                field("IDSENHAOK", FieldType::String, 1)};
    if (!rows.empty()) {
        core::Value ok;
        if (c.argCount() > 1) {
            const std::string operador = rows[0][2].asString();
            const bool match =
                checkPassword(c.db(), operador, c.text(1), rows[0][1].asString()) == PasswordVerdict::Match;
            if (match) recordPasswordProof(c.db(), c.login(), operador);
            ok = match ? "S" : "N";
        }
        p.rows.push_back({core::Value(), rows[0][0], ok});
    }
    return p;
}

const std::vector<core::FieldDef>& justificationFields() {
    static const std::vector<core::FieldDef> f = {field("CDJUSTIFICATIVA", FieldType::String, 5, true),
                                                  field("DSJUSTIFICATIVA", FieldType::String, 100)};
    return f;
}

core::Variant GetJustificativa(Call& c) {
    c.expect({});
    return answerPacket(c.db(), justificationFields(),
                        "SELECT CDJUSTIFICATIVA, DSJUSTIFICATIVA FROM JUSTIFICATIVA ORDER BY CDJUSTIFICATIVA");
}

core::Variant GetVdJustificativa(Call& c) {
    c.expect({Arg::Text});
    return answerPacket(c.db(), justificationFields(),
                        "SELECT CDJUSTIFICATIVA, DSJUSTIFICATIVA FROM JUSTIFICATIVA WHERE CDJUSTIFICATIVA = :c",
                        {c.text(0)});
}

struct TrailEntry {
    std::string origin;  // J: justification of the change, A: the analysis' justification
    std::string branch, request, operador, justification, permission, authorizer;
};

// Appends one row to the trail; rows are never updated or deleted, so every
// justification given stays on record even after its request is deleted.
void record(Call& c, const TrailEntry& e) {
    if (e.branch.empty()) throw core::Error("Filial deve ser informada.");
    if (e.operador.empty()) throw core::Error("Operador deve ser informado.");
    if (e.request.empty()) throw core::Error("Pedido de análise deve ser informado.");
    const auto known = queryValue(c.db(), "SELECT COUNT(*) FROM JUSTIFICATIVA WHERE CDJUSTIFICATIVA = :c",
                                  {e.justification}, FieldType::Integer);
    if (known.asInteger() == 0) throw core::Error(kJusNCad);
    // Another operator's authorization stands only when that operator's password was
    // typed at this session a moment ago.
    if (!e.authorizer.empty() && e.authorizer != e.operador && !hasPasswordProof(c.db(), c.login(), e.authorizer))
        throw core::Error("Autorização do operador " + e.authorizer + " não confirmada pela senha.");
    const long long seq = nextNumber(c.db(), e.branch, "JUSTIFICAANA", [&] {
        return queryValue(c.db(), "SELECT COALESCE(MAX(NRSEQJUSTANA), 0) FROM JUSTIFICAANA WHERE CDFILIAL = :f",
                          {e.branch}, FieldType::Integer)
            .asInteger();
    });
    auto optional = [](const std::string& s) { return s.empty() ? core::Value() : core::Value(s); };
    execute(c.db(),
            "INSERT INTO JUSTIFICAANA (CDFILIAL, NRSEQJUSTANA, NRAUDITORIA, CDJUSTIFICATIVA, CDOPERADOR, "
            "CDOPERAUTORIZ, IDAUTGRUPOP, DTJUSTIFICA, IDORIGJUST) "
            "VALUES (:f, :n, :a, :j, :o, :u, :p, :d, :g)",
            {e.branch, static_cast<int64_t>(seq), e.request, e.justification, e.operador,
             optional(e.authorizer), optional(e.permission), core::DateTime::now(), e.origin});
}

// (justification, branch, request by reference, operator [, permission, authorizing operator])
core::Variant SetJustificativa(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text}, 2);
    record(c, {"J", trimmed(c.text(1)), trimmed(c.text(2)), c.sessionOperator(3), c.text(0), trimmed(c.text(4)),
               trimmed(c.text(5))});
    c.setOut(2, c.text(2));
    return true;
}

// (branch, request by reference, operator, justification [, permission, authorizing operator])
core::Variant SetJustificativaAna(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text}, 2);
    record(c, {"A", trimmed(c.text(0)), trimmed(c.text(1)), c.sessionOperator(2), c.text(3), trimmed(c.text(4)),
               trimmed(c.text(5))});
    c.setOut(1, c.text(1));
    return true;
}

}  // namespace

void registerAuthorizationMethods(MethodTable& t) {
    t.add(kModule, "GetPermissao", GetPermissao, true);
    t.add(kModule, "GetVdOperador", GetVdOperador);
    t.add(kModule, "GetJustificativa", GetJustificativa, true);
    t.add(kModule, "GetVdJustificativa", GetVdJustificativa, true);
    t.add(kModule, "SetJustificativa", SetJustificativa);
    t.add(kModule, "SetJustificativaAna", SetJustificativaAna);
}

}  // namespace appserver

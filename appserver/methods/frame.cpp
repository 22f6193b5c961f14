// Parameters of the branch and the permission list, read when the screen opens.
#include "appserver/methods/methods.h"
#include "appserver/sql.h"

namespace appserver {

namespace {

using core::FieldType;

core::Variant getParamFilial(Call& c) {
    c.expect({Arg::Text});
    return answerPacket(c.db(),
                        {field("IDPERMESTNEG", FieldType::String, 1), field("IDUTILLOTE", FieldType::String, 1)},
                        "SELECT IDPERMESTNEG, IDUTILLOTE FROM PARAMFILIAL WHERE CDFILIAL = :f", {c.text(0)});
}

core::Variant GetParamMXA(Call& c) {
    c.expect({Arg::Text});
    return answerPacket(c.db(),
                        {field("NRDIAMINQUA", FieldType::String, 5), field("IDUTSEGLIBANA", FieldType::String, 1),
                         field("IDUTSEGLIBLOTE", FieldType::String, 1), field("IDLIBLOTEEST", FieldType::String, 1),
                         field("IDPARCACABADO", FieldType::String, 1), field("IDPARCPROCESSO", FieldType::String, 1),
                         field("IDPARCEMBALAGEM", FieldType::String, 1), field("IDPARCMATPRIMA", FieldType::String, 1)},
                        "SELECT NRDIAMINQUA, IDUTSEGLIBANA, IDUTSEGLIBLOTE, IDLIBLOTEEST, IDPARCACABADO, "
                        "IDPARCPROCESSO, IDPARCEMBALAGEM, IDPARCMATPRIMA FROM PARAMMXA WHERE CDFILIAL = :f",
                        {c.text(0)});
}

// One row per active operator and permission held through any of the operator's
// groups; with a branch, only the operators of that branch.
core::Variant getPermissaoAna(Call& c) {
    c.expect({Arg::Text}, 1);
    std::string sql =
        "SELECT G.CDGRUPOPER, A.IDAUTGRUPOP, A.NRAUTGRUPOP, G.DSGRUPOPER, O.CDSETOR, S.NMSETOR, O.CDOPERADOR "
        "FROM OPERADOR O "
        "JOIN OPERGRUPO OG ON OG.CDOPERADOR = O.CDOPERADOR "
        "JOIN GRUPOPER G ON G.CDGRUPOPER = OG.CDGRUPOPER "
        "JOIN AUTGRUPOPER A ON A.CDGRUPOPER = G.CDGRUPOPER "
        "LEFT JOIN SETOR S ON S.CDSETOR = O.CDSETOR "
        "WHERE O.IDATIVO = 'S'";
    Params params;
    if (c.argCount() > 0) {
        sql += " AND O.CDFILIAL = :f";
        params.add(c.text(0));
    }
    return answerPacket(c.db(),
                        {field("CDGRUPOPER", FieldType::String, 2), field("IDAUTGRUPOP", FieldType::String, 4),
                         field("NRAUTGRUPOP", FieldType::String, 3), field("DSGRUPOPER", FieldType::String, 30),
                         field("CDSETOR", FieldType::String, 4), field("NMSETOR", FieldType::String, 30),
                         field("CDOPERADOR", FieldType::String, 12)},
                        sql + " ORDER BY O.CDOPERADOR, G.CDGRUPOPER, A.IDAUTGRUPOP", std::move(params));
}

}  // namespace

void registerFrameMethods(MethodTable& t) {
    t.add(kModule, "getParamFilial", getParamFilial, true);
    t.add(kModule, "GetParamMXA", GetParamMXA, true);
    t.add(kModule, "getPermissaoAna", getPermissaoAna, true);
}

}  // namespace appserver

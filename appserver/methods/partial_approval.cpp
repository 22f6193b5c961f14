// What the partial approval dialog reads: the items marked for it, the product's
// stores, the production parameters, the lot's stock where it lies and the lot's
// highest sub-lot. The split itself is made by the request's save.
#include <string>

#include "appserver/methods/methods.h"
#include "appserver/record_query.h"
#include "appserver/sql.h"
#include "records/item_record.h"

namespace appserver {

namespace {

using core::FieldType;

// A sub-lot arrives padded or empty; the tables keep one blank for none.
std::string subLotKey(const std::string& s) { return blank(s) ? std::string(" ") : trimmed(s); }

// The request's items marked for partial approval, as the item record answers them.
core::Variant GetItensParciais(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return answerRecord(c.db(), records::itemRecord(), "M.CDFILIAL = :f AND M.NRAUDITORIA = :n AND M.IDPARCIAL = 'S'",
                        "M.NRINSPECAUDI, I.CDARVINSPEC, M.CDINSPECAO", {c.text(0), c.text(1)});
}

// The product's stores and locations in the branch, each store with its name.
core::Variant GetProdFili(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    std::vector<core::FieldDef> fields;
    std::string columns, joins;
    // store column, its name as answered, its location column
    const char* stores[][3] = {{"CDALMOXARIFE", "DSALMOXARIFE", "CDLOCALESTOQ"},
                               {"CDALMOXQUAR", "DSALMOXQUAR", "CDLOCALQUAR"},
                               {"CDALMOXINSPR", "DSALMOXINSPR", "CDLOCALINSPR"},
                               {"CDALMOXPRACA", "DSALMOXPRACA", "CDLOCALPRACA"},
                               {"CDALMOXREPROV", "DSALMOXREPROV", "CDLOCALREPROV"}};
    int n = 0;
    for (const auto& s : stores) {
        const std::string alias = "A" + std::to_string(++n);
        fields.push_back(field(s[0], FieldType::String, 6));
        fields.push_back(field(s[1], FieldType::String, 30));
        fields.push_back(field(s[2], FieldType::String, 6));
        columns += std::string(columns.empty() ? "" : ", ") + "PF." + s[0] + ", " + alias + ".DSALMOXARIFE, PF." + s[2];
        joins += " LEFT JOIN ALMOXARIFADO " + alias + " ON " + alias + ".CDFILIAL = PF.CDFILIAL AND " + alias +
                 ".CDALMOXARIFE = PF." + s[0];
    }
    return answerPacket(
        c.db(), fields,
        "SELECT " + columns + " FROM PRODFILIAL PF" + joins + " WHERE PF.CDFILIAL = :f AND PF.CDPRODUTO = :p",
        {c.text(0), c.text(1)});
}

// The branch's production parameters.
core::Variant GetParaMan(Call& c) {
    c.expect({Arg::Text});
    std::vector<core::FieldDef> fields = {field("IDUTSEGLIBLOTE", FieldType::String, 1),
                                          field("IDLIBLOTEEST", FieldType::String, 30)};
    for (const char* f : {"IDVALANARETPROD", "IDVALINSPRETPRO", "IDUTAUTSENHARET", "IDALTERARETI", "IDVDSEMIVDACAB"})
        fields.push_back(field(f, FieldType::String, 1));
    return answerPacket(c.db(), fields,
                        "SELECT IDUTSEGLIBLOTE, IDLIBLOTEEST, IDVALANARETPROD, IDVALINSPRETPRO, IDUTAUTSENHARET, "
                        "IDALTERARETI, IDVDSEMIVDACAB FROM PARAMMAN WHERE CDFILIAL = :f",
                        {c.text(0)});
}

// The lot's stock in one store and location as it stands now (positions keep no
// history, so the client's moment only dates the question): one row per known
// product, 0 when the lot has no position there. Store and location come back trimmed.
core::Variant GetPosEstDia(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::DateTime});
    const std::string store = trimmed(c.text(2)), location = trimmed(c.text(3));
    c.setOut(2, store);
    c.setOut(3, location);
    return answerPacket(
        c.db(),
        {field("QTESTOQDIA", FieldType::Float), field("CDPRODUTO", FieldType::String, 10),
         field("NMPRODUTO", FieldType::String, 40), field("SGUNIDADE", FieldType::String, 10)},
        "SELECT COALESCE((SELECT SUM(E.QTESTOQUE) FROM POSESTOQUE E WHERE E.CDFILIAL = :f AND "
        "E.CDALMOXARIFE = :a AND E.CDLOCALESTOQ = :l AND E.CDPRODUTO = P.CDPRODUTO AND "
        "E.NRLOTEESTQ = :n AND E.NRSUBLOTE = :s), 0), P.CDPRODUTO, P.NMPRODUTO, P.SGUNIDADE "
        "FROM PRODUTO P WHERE P.CDPRODUTO = :p",
        {trimmed(c.text(1)), store, location, trimmed(c.text(4)), subLotKey(c.text(5)), trimmed(c.text(0))});
}

// The lot's highest sub-lot; the blank one (the lot itself) does not count. One
// row, null when the lot has no sub-lot.
core::Variant GetProxSubLote(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return answerPacket(c.db(), {field("NRSUBLOTE", FieldType::String, 4)},
                        "SELECT MAX(NRSUBLOTE) FROM LOTE WHERE CDFILIAL = :f AND NRLOTEESTQ = :n AND "
                        "TRIM(NRSUBLOTE) <> ''",
                        {trimmed(c.text(0)), trimmed(c.text(1))});
}

}  // namespace

void registerPartialApprovalMethods(MethodTable& t) {
    t.add(kModule, "GetItensParciais", GetItensParciais, true);
    t.add(kModule, "GetProdFili", GetProdFili, true);
    t.add(kModule, "GetParaMan", GetParaMan, true);
    t.add(kModule, "GetPosEstDia", GetPosEstDia, true);
    t.add(kModule, "GetProxSubLote", GetProxSubLote, true);
}

}  // namespace appserver

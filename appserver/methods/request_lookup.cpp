// Lookups of the request header: products, lots and sub-lots, equipment, a
// product's brands, the other open requests of a production order, and the start
// of a production stage.
#include <string>
#include <vector>

#include "appserver/methods/methods.h"
#include "appserver/sql.h"
#include "core/format.h"

namespace appserver {

namespace {

using core::FieldType;

// Tree codes travel as digits; a code typed with the picture's dots still matches.
std::string treeDigits(const std::string& code) {
    std::string out;
    for (char ch : code)
        if (ch != '.' && ch != ' ') out += ch;
    return out;
}

// Arguments 0 and 1: the picture's level count (as the client's text) and a tree
// code, empty for every product.
core::Variant GetProduto(Call& c) {
    c.expect({Arg::Any, Arg::Text});
    std::string sql =
        "SELECT CDARVPROD, CDPRODUTO, NMPRODUTO, NRDIASVALANA, IDTEOROBRIG FROM PRODUTO WHERE IDATIVO = 'S'";
    Params params;
    const std::string code = treeDigits(c.text(1));
    if (!code.empty()) {
        sql += " AND CDARVPROD = :a";
        params.add(code);
    }
    sql += " ORDER BY CDARVPROD";
    return answerPacket(c.db(),
                        {field("CDARVPROD", FieldType::String, 20), field("CDPRODUTO", FieldType::String, 10),
                         field("NMPRODUTO", FieldType::String, 50), field("NRDIASVALANA", FieldType::Float),
                         field("IDTEOROBRIG", FieldType::String, 1)},
                        sql, std::move(params));
}

// Lots of a branch, optionally of one lot, sub-lot and product. The lot's own row
// (sub-lot one blank) sorts before its sub-lots.
std::vector<std::vector<core::Value>> lots(Call& c, const std::string& branch, const std::string& lot,
                                           const std::string& subLot, const std::string& product) {
    std::string sql =
        "SELECT NRLOTEESTQ, NRSUBLOTE, DTVALILOTE, NRLOTEFORN, DTFABRPROD FROM LOTE WHERE CDFILIAL = :f";
    Params params{branch};
    if (!blank(lot)) {
        sql += " AND NRLOTEESTQ = :l";
        params.add(lot);
    }
    if (!blank(subLot)) {
        sql += " AND NRSUBLOTE = :s";
        params.add(subLot);
    }
    if (!blank(product)) {
        sql += " AND CDPRODUTO = :p";
        params.add(product);
    }
    sql += " ORDER BY NRLOTEESTQ, NRSUBLOTE, CDPRODUTO";
    return queryRows(
        c.db(), sql, std::move(params),
        {FieldType::String, FieldType::String, FieldType::DateTime, FieldType::String, FieldType::DateTime});
}

// The validity travels as text in one packet and as a date in the other, as the
// screen's two record sets declare it.
core::Packet lotPacket(const std::vector<std::vector<core::Value>>& rows, bool validityAsText) {
    core::Packet p;
    p.fields = {field("LOTE", FieldType::String, 24),
                field("NRLOTEESTQ", FieldType::String, 20),
                field("NRSUBLOTE", FieldType::String, 4),
                validityAsText ? field("DTVALILOTE", FieldType::String, 10)
                               : field("DTVALILOTE", FieldType::DateTime),
                field("NRLOTEFORN", FieldType::String, 20),
                field("DTFABRPROD", FieldType::DateTime)};
    for (const auto& r : rows) {
        core::Value validity = r[2];
        if (validityAsText)
            validity = r[2].isNull() || r[2].asDateTime().days <= 0
                           ? core::Value()
                           : core::Value(core::formatDateTime("ddddd", r[2].asDateTime()));
        p.rows.push_back({r[0].asString() + r[1].asString(), r[0], r[1], validity, r[3], r[4]});
    }
    return p;
}

// Branch, lot, sub-lot or empty (every sub-lot), product or empty (any product).
core::Variant GetLote(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text, Arg::Text});
    if (blank(c.text(1))) return lotPacket({}, true);
    return lotPacket(lots(c, c.text(0), c.text(1), c.text(2), c.text(3)), true);
}

// Branch and product or empty: the lots offered by the lot lookup.
core::Variant GetPesqLote(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return lotPacket(lots(c, c.text(0), "", "", c.text(1)), false);
}

core::Variant GetVdEquipProd(Call& c) {
    c.expect({Arg::Text});
    return answerPacket(c.db(),
                        {field("CDEQUIPPRO", FieldType::String, 10), field("NMEQUIPPRO", FieldType::String, 40)},
                        "SELECT CDEQUIPPRO, NMEQUIPPRO FROM EQUIPAPROD WHERE CDEQUIPPRO = :e", {c.text(0)});
}

core::Variant GetEquipProd(Call& c) {
    c.expect({});
    return answerPacket(c.db(),
                        {field("CDEQUIPPRO", FieldType::String, 10), field("NMEQUIPPRO", FieldType::String, 40),
                         field("SGEQUIPPRO", FieldType::String, 10)},
                        "SELECT CDEQUIPPRO, NMEQUIPPRO, SGEQUIPPRO FROM EQUIPAPROD ORDER BY CDEQUIPPRO");
}

// Product and brand or empty (every brand of the product).
core::Variant getMarcaProd(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    std::string sql =
        "SELECT M.CDMARCA, M.NMMARCA, MP.CDPRODUTO FROM MARCAPRODUTO MP JOIN MARCA M ON M.CDMARCA = "
        "MP.CDMARCA "
        "WHERE MP.CDPRODUTO = :p";
    Params params{c.text(0)};
    if (!blank(c.text(1))) {
        sql += " AND MP.CDMARCA = :m";
        params.add(c.text(1));
    }
    sql += " ORDER BY M.CDMARCA";
    return answerPacket(c.db(),
                        {field("CDMARCA", FieldType::String, 5), field("NMMARCA", FieldType::String, 20),
                         field("CDPRODUTO", FieldType::String, 10)},
                        sql, std::move(params));
}

// Production order, sub-order, the asking request's number and, optionally, its
// branch: the other requests of that order still pending or in progress. Order
// numbers are per branch, so with a branch only that branch's requests count.
core::Variant getUltAnalise(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text, Arg::Text}, 1);
    std::string sql =
        "SELECT CDFILIAL, NRAUDITORIA, IDTPAUDITADO, IDSTATUSAUDI, CDPRODUTO, NRLOTEESTQ, NRSUBLOTE "
        "FROM AUDITORIA WHERE NRORDPROD = :o AND NRSUBORDPROD = :s AND NRAUDITORIA <> :n "
        "AND IDSTATUSAUDI IN ('1', '2')";
    Params params{c.text(0), c.text(1), c.text(2)};
    if (c.argCount() > 3) {
        sql += " AND CDFILIAL = :f";
        params.add(c.text(3));
    }
    return answerPacket(c.db(),
                        {field("CDFILIAL", FieldType::String, 4), field("NRAUDITORIA", FieldType::String, 10),
                         field("IDTPAUDITADO", FieldType::String, 1), field("IDSTATUSAUDI", FieldType::String, 1),
                         field("CDPRODUTO", FieldType::String, 10), field("NRLOTEESTQ", FieldType::String, 20),
                         field("NRSUBLOTE", FieldType::String, 4)},
                        sql + " ORDER BY CDFILIAL, NRAUDITORIA", std::move(params));
}

// Branch, order, sub-order, stage: the earliest start among the analyses of the
// stage's requests; no row while none has started.
core::Variant GetDtIniEtapa(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text, Arg::Text});
    core::Packet p;
    p.fields = {field("DATAINI", FieldType::DateTime)};
    if (blank(c.text(1))) return p;
    const core::Value first = queryValue(c.db(),
                                         "SELECT MIN(I.DTINIRINSAUD) FROM INSPECAUDIT I JOIN AUDITORIA A "
                                         "ON A.CDFILIAL = I.CDFILIAL AND A.NRAUDITORIA = I.NRAUDITORIA "
                                         "WHERE A.CDFILIAL = :f AND A.NRORDPROD = :o AND A.NRSUBORDPROD = :s "
                                         "AND A.CDETAPAPROD = :e AND I.DTINIRINSAUD > 0",
                                         {c.text(0), c.text(1), c.text(2), c.text(3)}, FieldType::DateTime);
    if (!first.isNull()) p.rows.push_back({first});
    return p;
}

// Start date-time, branch, order, sub-order, stage. A stage that started earlier
// keeps its start.
core::Variant UdDtIniEtapa(Call& c) {
    c.expect({Arg::DateTime, Arg::Text, Arg::Text, Arg::Text, Arg::Text});
    const core::DateTime start = c.dateTime(0);
    if (start.days <= 0) return core::Variant(0);
    const long long n =
        execute(c.db(),
                "UPDATE ETAPAORDPROD SET DTINIETAPA = :d WHERE CDFILIAL = :f AND NRORDPROD = :o "
                "AND NRSUBORDPROD = :s AND CDETAPAPROD = :e "
                "AND (DTINIETAPA IS NULL OR DTINIETAPA <= 0 OR DTINIETAPA > :d2)",
                {start, c.text(1), c.text(2), c.text(3), c.text(4), start});
    return core::Variant(static_cast<int64_t>(n));
}

}  // namespace

void registerRequestLookupMethods(MethodTable& t) {
    t.add(kModule, "GetProduto", GetProduto, true);
    t.add(kModule, "GetLote", GetLote, true);
    t.add(kModule, "GetPesqLote", GetPesqLote, true);
    t.add(kModule, "GetVdEquipProd", GetVdEquipProd, true);
    t.add(kModule, "GetEquipProd", GetEquipProd, true);
    t.add(kModule, "getMarcaProd", getMarcaProd, true);
    t.add(kModule, "getUltAnalise", getUltAnalise, true);
    t.add(kModule, "GetDtIniEtapa", GetDtIniEtapa, true);
    t.add(kModule, "UdDtIniEtapa", UdDtIniEtapa);
}

}  // namespace appserver

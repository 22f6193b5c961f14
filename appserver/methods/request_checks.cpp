// The reads a request's save relies on: product versions, where the request's items
// and inspections stand, its inspections, items, formula rows and resources, whether
// its lot was used since, the analysis validity, the product's analyses for a process,
// and the lots of a compatibility analysis.
#include "appserver/methods/request_checks.h"

#include <string>
#include <vector>

#include "appserver/methods/analysis_validity.h"
#include "appserver/methods/methods.h"
#include "appserver/record_query.h"
#include "appserver/refusal.h"
#include "appserver/sql.h"
#include "core/error.h"
#include "records/inspection_record.h"
#include "records/item_record.h"

namespace appserver {

namespace {

using core::FieldType;

std::vector<core::FieldDef> versionFields() {
    return {field("CDVERSAO", FieldType::String, 10), field("DTVIGINICIO", FieldType::DateTime),
            field("DTVIFGFINAL", FieldType::DateTime)};
}

// Every column of a table as a packet field: kinds and sizes from the live schema,
// date-times told by the columns' "DT" prefix (they are stored as day counts).
std::vector<core::FieldDef> tableFields(Call& c, const std::string& table, const std::vector<std::string>& keys) {
    std::vector<core::FieldDef> fields;
    for (const auto& col : c.catalog().table(c.db(), table).columns) {
        FieldType type = FieldType::String;
        switch (col.kind) {
            case ColumnInfo::Kind::Integer:
                type = FieldType::Integer;
                break;
            case ColumnInfo::Kind::Real:
                type = col.name.rfind("DT", 0) == 0 ? FieldType::DateTime : FieldType::Float;
                break;
            case ColumnInfo::Kind::Blob:
                type = FieldType::Blob;
                break;
            case ColumnInfo::Kind::Text:
                break;
        }
        bool key = false;
        for (const auto& k : keys) key = key || k == col.name;
        fields.push_back(field(col.name, type, type == FieldType::String ? col.size : 0, key));
    }
    return fields;
}

core::Packet tableRows(Call& c, const std::string& table, const std::vector<std::string>& keys,
                       const std::string& where, const std::string& orderBy, Params params) {
    auto fields = tableFields(c, table, keys);
    std::string columns;
    for (const auto& f : fields) columns += (columns.empty() ? "" : ", ") + f.name;
    return queryPacket(c.db(), fields,
                       "SELECT " + columns + " FROM " + table + " WHERE " + where + " ORDER BY " + orderBy,
                       std::move(params));
}

// Versions of a product's analysis profile for a process.
core::Variant GetVd_Versao(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return answerPacket(c.db(), versionFields(),
                        "SELECT CDVERSAO, DTVIGINICIO, DTVIFGFINAL FROM VERSAOPRODANA "
                        "WHERE CDPRODUTO = :p AND IDTPAUDITADO = :t ORDER BY CDVERSAO",
                        {c.text(0), c.text(1)});
}

// Product, reference date (written back as it came) and process: the versions in
// force on the reference date's day, the first and the last day included.
core::Variant GetVersao(Call& c) {
    c.expect({Arg::Text, Arg::Any, Arg::Text});
    c.setOut(1, c.arg(1));
    const double day = c.dateTime(1).datePart().days;
    return answerPacket(c.db(), versionFields(),
                        "SELECT CDVERSAO, DTVIGINICIO, DTVIFGFINAL FROM VERSAOPRODANA "
                        "WHERE CDPRODUTO = :p AND IDTPAUDITADO = :t AND DTVIGINICIO < :next "
                        "AND (DTVIFGFINAL IS NULL OR DTVIFGFINAL >= :day) ORDER BY CDVERSAO",
                        {c.text(0), c.text(2), day + 1, day});
}

// Where a request's items and inspections stand, as the situation it implies: ""
// no items, "1" nothing answered yet, "2" something still open, "4" all done and
// none rejected, "5" all done with a rejection. Never a conclusion while an item or
// an inspection is open, since the client makes the request's situation follow it.
core::Variant GetStatusItens(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    const std::string branch = c.text(0), request = c.text(1);
    const auto rows = queryRows(c.db(),
                                "SELECT COUNT(*), "
                                "SUM(CASE WHEN COALESCE(IDOPCACEITIN, 'P') NOT IN ('S', 'N') THEN 1 ELSE 0 END), "
                                "SUM(CASE WHEN IDOPCACEITIN = 'N' THEN 1 ELSE 0 END) "
                                "FROM ITEMINSAUDIT WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
                                {branch, request}, {FieldType::Integer, FieldType::Integer, FieldType::Integer});
    const auto items = rows.at(0)[0].asInteger(), open = rows[0][1].asInteger(), rejected = rows[0][2].asInteger();
    if (items == 0) return std::string();
    if (open == items) return std::string("1");
    if (open > 0 || openInspectionCount(c.db(), branch, request) > 0) return std::string("2");
    return std::string(rejected > 0 ? "5" : "4");
}

// One row per inspection of the request still open.
core::Variant GetVdInsAudPen(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return answerPacket(c.db(), {field("STATUS", FieldType::String, 1)},
                        std::string("SELECT 'P' FROM INSPECAUDIT WHERE CDFILIAL = :f AND NRAUDITORIA = :n AND ") +
                            kInspectionOpen + " ORDER BY NRINSPECAUDI",
                        {c.text(0), c.text(1)});
}

// The request's inspections, the names of their analysis, concluding operator and
// test subject joined.
core::Variant GetInspecAudit(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return answerRecord(c.db(), records::inspectionRecord(), "N.CDFILIAL = :f AND N.NRAUDITORIA = :n", "N.NRINSPECAUDI",
                        {c.text(0), c.text(1)});
}

// A row (the count) only when an inspection of the request concluded not OK.
core::Variant GetVdInsAudCon(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return answerPacket(c.db(), {field("TOTAL", FieldType::Float)},
                        "SELECT COUNT(*) FROM INSPECAUDIT WHERE CDFILIAL = :f AND NRAUDITORIA = :n "
                        "AND IDINSPCONC = 'N' HAVING COUNT(*) > 0",
                        {c.text(0), c.text(1)});
}

// The latest end and the earliest start recorded on the request's inspections.
core::Variant GetDtAudit(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return answerPacket(c.db(), {field("DATACONC", FieldType::DateTime), field("DATAINI", FieldType::DateTime)},
                        "SELECT MAX(DTFINRINSAUD), MIN(DTINIRINSAUD) FROM INSPECAUDIT "
                        "WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
                        {c.text(0), c.text(1)});
}

core::Variant GetItemInsAudit(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text});
    return inspectionItems(c, c.text(0), c.text(1), c.text(2));
}

core::Variant getFormulaAuditAna(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text});
    return tableRows(c, "FORMULAANA", {"CDFILIAL", "NRSEQFORMULA"},
                     "CDFILIAL = :f AND NRAUDITORIA = :n AND CDINSPECAO = :i", "CDFILIAL, NRSEQFORMULA",
                     {c.text(0), c.text(1), c.text(2)});
}

core::Variant getRecurAuditAna(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text});
    return tableRows(c, "RECURSOANA", {"CDFILIAL", "NRSEQRECURANA"},
                     "CDFILIAL = :f AND NRAUDITORIA = :n AND CDINSPECAO = :i", "CDFILIAL, NRSEQRECURANA",
                     {c.text(0), c.text(1), c.text(2)});
}

// Branch, lot, sub-lot and a conclusion moment: "SIM" when stock of the lot moved
// after it other than by an analysis (an analysis' own transfers name it), else "NAO".
core::Variant Verifica_Lote_Utilizado(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text, Arg::Any});
    const std::string subLot = c.text(2).empty() ? " " : c.text(2);
    const auto used = queryValue(c.db(),
                                 "SELECT COUNT(*) FROM MOVESTOQUE WHERE CDFILIAL = :f AND NRLOTEESTQ = :l "
                                 "AND NRSUBLOTE = :s AND DTMOVEST > :d AND (NRAUDITORIA IS NULL OR "
                                 "TRIM(NRAUDITORIA) = '')",
                                 {c.text(0), c.text(1), subLot, c.dateTime(3).days}, FieldType::Integer);
    return std::string(used.asInteger() > 0 ? "SIM" : "NAO");
}

// Branch, branch again, module, lot, sub-lot, kind of analysis, product and the
// request's date: the analysis validity counted from that date's day.
core::Variant verificaValidade(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Any});
    const auto validity = analysisValidity(c.db(), c.text(6), c.dateTime(7));
    core::Packet p;
    p.fields = {field("VALIDADE", FieldType::String, 10), field("VALIDADEATUAL", FieldType::DateTime)};
    p.rows.push_back({validityText(validity), validity});
    return p;
}

// The product's active analyses for a process; empty when there is none.
core::Variant getVerifProcesso(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return answerPacket(c.db(),
                        {field("CDPRODUTO", FieldType::String, 10), field("CDINSPECAO", FieldType::String, 10),
                         field("IDPROCPROD", FieldType::String, 1), field("CDARVINSPEC", FieldType::String, 10)},
                        "SELECT PI.CDPRODUTO, PI.CDINSPECAO, PI.IDPROCPROD, I.CDARVINSPEC FROM PRODINSPEC PI "
                        "JOIN INSPECAO I ON I.CDINSPECAO = PI.CDINSPECAO "
                        "WHERE PI.CDPRODUTO = :p AND PI.IDPROCPROD = :t AND PI.IDSITPRODINSP = 'A' "
                        "AND I.IDSITINSPEC = 'A' ORDER BY I.CDARVINSPEC, PI.NRSEQPRODINSP",
                        {c.text(0), c.text(1)});
}

// How many formula rows with a lot the request has (0 when none), always one row.
core::Variant getVerifCompatibilidade(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return answerPacket(c.db(), {field("QTAMOSTRAS", FieldType::Float)},
                        "SELECT COUNT(*) FROM FORMULAANA WHERE CDFILIAL = :f AND NRAUDITORIA = :n "
                        "AND NRLOTEESTQ IS NOT NULL AND TRIM(NRLOTEESTQ) <> ''",
                        {c.text(0), c.text(1)});
}

}  // namespace

core::Packet inspectionItems(Call& c, const std::string& branch, const std::string& request,
                             const std::string& inspection) {
    return queryRecord(c.db(), records::itemRecord(), "M.CDFILIAL = :f AND M.NRAUDITORIA = :n AND M.NRINSPECAUDI = :i",
                       "I.CDARVINSPEC, M.CDINSPECAO", {branch, request, inspection});
}

void checkRequestOpen(soci::session& db, const std::string& branch, const std::string& request) {
    const auto situation = queryRows(db, "SELECT IDSTATUSAUDI FROM AUDITORIA WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
                                     {branch, request}, {FieldType::String});
    if (situation.empty())
        throw core::Error("Pedido de análise " + request + " da filial " + branch + " não cadastrado.");
    if (!situation[0][0].isNull() && situation[0][0].asString() == "3") throw Refusal("P_SIT_CANCELADA");
}

int inspectionCount(soci::session& db, const std::string& branch, const std::string& request) {
    return static_cast<int>(queryValue(db, "SELECT COUNT(*) FROM INSPECAUDIT WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
                                       {branch, request}, FieldType::Integer)
                                .asInteger());
}

int openInspectionCount(soci::session& db, const std::string& branch, const std::string& request) {
    return static_cast<int>(queryValue(db,
                                       std::string("SELECT COUNT(*) FROM INSPECAUDIT WHERE CDFILIAL = :f AND "
                                                   "NRAUDITORIA = :n AND ") +
                                           kInspectionOpen,
                                       {branch, request}, FieldType::Integer)
                                .asInteger());
}

void registerRequestCheckMethods(MethodTable& t) {
    t.add(kModule, "GetVd_Versao", GetVd_Versao, true);
    t.add(kModule, "GetVersao", GetVersao, true);
    t.add(kModule, "GetStatusItens", GetStatusItens, true);
    t.add(kModule, "GetVdInsAudPen", GetVdInsAudPen, true);
    t.add(kModule, "GetInspecAudit", GetInspecAudit, true);
    t.add(kModule, "GetVdInsAudCon", GetVdInsAudCon, true);
    t.add(kModule, "GetDtAudit", GetDtAudit, true);
    t.add(kModule, "GetItemInsAudit", GetItemInsAudit, true);
    t.add(kModule, "getFormulaAuditAna", getFormulaAuditAna, true);
    t.add(kModule, "getRecurAuditAna", getRecurAuditAna, true);
    t.add(kModule, "Verifica_Lote_Utilizado", Verifica_Lote_Utilizado, true);
    t.add(kModule, "verificaValidade", verificaValidade, true);
    t.add(kModule, "getVerifProcesso", getVerifProcesso, true);
    t.add(kModule, "getVerifCompatibilidade", getVerifCompatibilidade, true);
}

}  // namespace appserver

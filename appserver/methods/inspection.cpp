// Inspections of a request, their items and the evaluation of results; the test
// subjects an inspection may use and their rest periods.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "appserver/delta.h"
#include "appserver/methods/methods.h"
#include "appserver/methods/normal_range.h"
#include "appserver/methods/request_checks.h"
#include "appserver/numbering.h"
#include "appserver/refusal.h"
#include "appserver/sql.h"
#include "core/error.h"
#include "core/treecode.h"
#include "records/inspection_record.h"

namespace appserver {

namespace {

using core::FieldType;

// Next inspection number of one request, as a packet for cdsPrxInspecAudit.
core::Variant GetPrxInspecAudit(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    const auto branch = c.text(0), request = c.text(1);
    const auto highest = [&] {
        return c.dialect().highestNumber(c.db(), "INSPECAUDIT", "NRINSPECAUDI",
                                         {{"CDFILIAL", branch}, {"NRAUDITORIA", request}});
    };
    const auto n = nextNumber(c.db(), branch, "INSPECAUDIT:" + request, highest);
    core::Packet p;
    p.fields = {field("NRINSPECAUDI", FieldType::String, 3)};
    p.rows.push_back({zeroPadded(n, 3)});
    return p;
}

std::string textOf(const core::Value& v) { return v.isNull() ? std::string() : v.asString(); }

// Levels of the analysis tree: an inspection is an analysis of the penultimate
// level, its items analyses of the last one under it.
const core::TreePicture& analysisTree() { return core::treePicture(12); }
std::string inspectionLevel() { return std::to_string(analysisTree().levels() - 1); }
std::string itemLevel() { return std::to_string(analysisTree().levels()); }

// Argument positions (0-based) of SetInspecAudit.
enum InspectionSaveArg {
    kChanges = 0,
    kGreater = 5,
    kLess = 6,
    kBetween = 7,
    kConjunction = 8,
    kBranch = 9,
    kRequest = 10,
    kInspection = 11,
    kAtLeast = 12,
    kAtMost = 13,
};

// One change of the inspections' log: the inspection it names and the analysis.
struct InspectionChange {
    core::ChangeKind kind;
    std::string branch, request, number, analysis;
    bool conclusionChanged = false;  // the change sets or clears DTFINRINSAUD
};

std::vector<InspectionChange> readChanges(const core::Packet& p) {
    const int branch = p.fieldIndex("CDFILIAL"), request = p.fieldIndex("NRAUDITORIA"),
              number = p.fieldIndex("NRINSPECAUDI"), analysis = p.fieldIndex("CDINSPECAO"),
              conclusion = p.fieldIndex("DTFINRINSAUD");
    if (branch < 0 || request < 0 || number < 0)
        throw core::Error("Pacote de dados sem campos-chave para a tabela INSPECAUDIT.");
    std::vector<InspectionChange> out;
    for (const auto& change : p.delta) {
        const bool insert = change.kind == core::ChangeKind::Insert;
        const auto& row = changedRow(p, change);
        InspectionChange r{change.kind, textOf(row[branch]), textOf(row[request]), textOf(row[number]), {}, false};
        if (analysis >= 0) r.analysis = textOf(row[analysis]);
        if (change.kind == core::ChangeKind::Modify) {
            // Items hang from the inspection's key and analysis: moving either would
            // leave them behind, under another inspection or analysis.
            for (int k : {branch, request, number})
                if (textOf(change.oldValues[k]) != textOf(change.newValues[k]))
                    throw core::Error("O número de uma análise gravada não pode ser alterado.");
            if (analysis >= 0 && textOf(change.oldValues[analysis]) != textOf(change.newValues[analysis]))
                throw core::Error("A análise de uma inspeção gravada não pode ser trocada. Exclua-a e inclua outra.");
        }
        if (conclusion >= 0) {
            if (insert)
                r.conclusionChanged = !change.newValues[conclusion].isNull();
            else if (change.kind == core::ChangeKind::Modify)
                r.conclusionChanged = change.oldValues[conclusion].isNull() != change.newValues[conclusion].isNull() ||
                                      !core::sameValue(change.oldValues[conclusion], change.newValues[conclusion]);
        }
        out.push_back(std::move(r));
    }
    return out;
}

// Nothing of a cancelled request changes; a new inspection is an active analysis
// of the penultimate level.
void checkChange(Call& c, const InspectionChange& r) {
    checkRequestOpen(c.db(), r.branch, r.request);
    if (r.kind != core::ChangeKind::Insert) return;
    const auto found = queryValue(c.db(),
                                  "SELECT COUNT(*) FROM INSPECAO WHERE CDINSPECAO = :a AND IDORIGINSPEC = 'ANA' AND "
                                  "IDSITINSPEC = 'A' AND CDNVINSPECAO = :l",
                                  {r.analysis, inspectionLevel()}, FieldType::Integer);
    if (found.asInteger() == 0) throw Refusal("P_ANALISE_N_CAD");
}

// What a request says about the items of its inspections: the database's row is
// the authority, not the copies the screen sends along.
struct RequestProfile {
    std::string product, previousProduct, process, version;
};

RequestProfile requestProfile(Call& c, const InspectionChange& r) {
    const auto rows =
        queryRows(c.db(),
                  "SELECT CDPRODUTO, CDPRODANTE, IDTPAUDITADO, DTINCLAUDIT FROM AUDITORIA "
                  "WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
                  {r.branch, r.request}, {FieldType::String, FieldType::String, FieldType::String, FieldType::Float});
    RequestProfile p;
    if (rows.empty()) return p;
    p.product = textOf(rows[0][0]);
    p.previousProduct = textOf(rows[0][1]);
    p.process = textOf(rows[0][2]);
    if (!rows[0][3].isNull()) {
        // The version in force on the request's day, as GetVersao offers it to the
        // screen (first and last day included); the latest start when several are.
        const double day = core::DateTime(rows[0][3].asFloat()).datePart().days;
        const auto version = queryRows(c.db(),
                                       "SELECT CDVERSAO FROM VERSAOPRODANA WHERE CDPRODUTO = :p AND IDTPAUDITADO = :t "
                                       "AND DTVIGINICIO < :next AND (DTVIFGFINAL IS NULL OR DTVIFGFINAL >= :day) "
                                       "ORDER BY DTVIGINICIO DESC, CDVERSAO DESC",
                                       {p.product, p.process, day + 1, day}, {FieldType::String});
        if (!version.empty()) p.version = textOf(version[0][0]);
    }
    return p;
}

// A new inspection's items: the active last-level analyses under its analysis that
// the request's product profile holds for its process and version, each pending
// with the words of its normal range.
void createItems(Call& c, const InspectionChange& r, const RangeWords& words) {
    const auto profile = requestProfile(c, r);
    const auto tree =
        textOf(queryValue(c.db(), "SELECT CDARVINSPEC FROM INSPECAO WHERE CDINSPECAO = :a", {r.analysis}));
    const int prefix = analysisTree().lengthToLevel(analysisTree().levels() - 1);
    // Version-specific profile rows first, so their importance wins over the general row's.
    const auto rows =
        queryRows(c.db(),
                  "SELECT I.CDINSPECAO, I.IDTPRESPINSP, COALESCE(PI.IDATEITEINSP, I.IDATEITEINSP) FROM INSPECAO I "
                  "JOIN PRODINSPEC PI ON PI.CDINSPECAO = I.CDINSPECAO WHERE I.CDNVINSPECAO = :l AND "
                  "I.IDORIGINSPEC = 'ANA' AND I.IDSITINSPEC = 'A' AND SUBSTR(I.CDARVINSPEC, 1, " +
                      std::to_string(prefix) +
                      ") = :arv AND PI.CDPRODUTO = :p AND PI.IDPROCPROD = :t AND PI.IDSITPRODINSP = 'A' AND "
                      "(PI.CDVERSAO IS NULL OR PI.CDVERSAO = :v) "
                      "ORDER BY I.CDARVINSPEC, CASE WHEN PI.CDVERSAO IS NULL THEN 1 ELSE 0 END, PI.NRSEQPRODINSP",
                  {itemLevel(), tree, profile.product, profile.process, profile.version},
                  std::vector<FieldType>(3, FieldType::String));
    const std::string responseProduct = blank(profile.previousProduct) ? profile.product : profile.previousProduct;
    std::map<std::string, bool> created;
    for (const auto& row : rows) {
        const std::string analysis = textOf(row[0]), kind = textOf(row[1]);
        if (created[analysis]) continue;
        created[analysis] = true;
        std::optional<std::string> range;
        if (kind == "VALR" || kind == "TEXT")
            range = normalRange(c.db(), analysis, responseProduct, profile.process, profile.version, words);
        const auto importance = textOf(row[2]);
        // The analysis' tree code, name, response type and unit are read through its join.
        execute(c.db(),
                "INSERT INTO ITEMINSAUDIT (CDFILIAL, NRAUDITORIA, NRINSPECAUDI, CDINSPECAO, IDOPCACEITIN, IDPARCIAL, "
                "IDATEITEINSP, DSLIMIINSP) VALUES (:f, :n, :i, :a, 'P', 'N', :at, :lim)",
                {r.branch, r.request, r.number, analysis,
                 importance.empty() ? core::Value() : core::Value(utf8Prefix(importance, 1)),
                 range ? core::Value(*range) : core::Value()});
    }
}

// After the change is written: who made and who concluded the inspection (the
// session's operator), the situation of one not concluded, and no conclusion while
// it has no items or an item is pending.
void completeSavedInspection(Call& c, const InspectionChange& r) {
    const Params key = {r.branch, r.request, r.number};
    const std::string where = " WHERE CDFILIAL = :f AND NRAUDITORIA = :n AND NRINSPECAUDI = :i";
    const std::string& me = c.login().operador;
    if (r.kind == core::ChangeKind::Insert)
        execute(c.db(), "UPDATE INSPECAUDIT SET CDOPERADOR = :o" + where, {me, r.branch, r.request, r.number});
    const auto concluded = queryValue(c.db(), "SELECT DTFINRINSAUD FROM INSPECAUDIT" + where, key, FieldType::Float);
    if (concluded.isNull()) {
        execute(c.db(), "UPDATE INSPECAUDIT SET IDINSPCONC = 'P', CDOPECONCINS = NULL" + where, key);
        return;
    }
    if (r.conclusionChanged)
        execute(c.db(), "UPDATE INSPECAUDIT SET CDOPECONCINS = :o" + where, {me, r.branch, r.request, r.number});
    const auto items = queryRows(c.db(),
                                 "SELECT COUNT(*), SUM(CASE WHEN COALESCE(IDOPCACEITIN, 'P') = 'P' THEN 1 ELSE 0 END) "
                                 "FROM ITEMINSAUDIT" +
                                     where,
                                 key, {FieldType::Integer, FieldType::Integer});
    if (items.at(0)[0].asInteger() == 0 || (!items[0][1].isNull() && items[0][1].asInteger() > 0))
        throw Refusal("P_ANA_NCONC");
}

// Arguments: the inspections' change log, the null-field list, the request's
// product, previous product and process, the words "Maior que ", "Menor que ",
// "Entre ", " e ", the inspection's branch, request and number, "Maior ou Igual à"
// and "Menor ou Igual à ". The change log carries every value (nulls included), so
// the null-field list is not needed; the request's own row, not the copies among
// the arguments, decides the items. Answers the items of the named inspection.
core::Variant SetInspecAudit(Call& c) {
    c.expect({Arg::Packet, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text,
              Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text});
    const auto& packet = c.packet(kChanges);
    const auto changes = readChanges(packet);
    for (const auto& r : changes) checkChange(c, r);

    applyDelta(c.db(), c.catalog(), records::inspectionRecord(), packet);

    const RangeWords words{c.text(kGreater),     c.text(kLess),    c.text(kBetween),
                           c.text(kConjunction), c.text(kAtLeast), c.text(kAtMost)};
    for (const auto& r : changes) {
        if (r.kind == core::ChangeKind::Delete) {
            execute(c.db(), "DELETE FROM ITEMINSAUDIT WHERE CDFILIAL = :f AND NRAUDITORIA = :n AND NRINSPECAUDI = :i",
                    {r.branch, r.request, r.number});
            continue;
        }
        if (r.kind == core::ChangeKind::Insert) createItems(c, r, words);
        completeSavedInspection(c, r);
    }
    return inspectionItems(c, c.text(kBranch), c.text(kRequest), c.text(kInspection));
}

// Test subject and a moment: its rest periods that hold the moment ("current
// history"); a row means the subject is resting.
core::Variant GetVerHistCob(Call& c) {
    c.expect({Arg::Text, Arg::DateTime});
    const double when = c.dateTime(1).days;
    return answerPacket(c.db(), {field("CDCOBAIA", FieldType::String, 10)},
                        "SELECT CDCOBAIA FROM HISTCOBAIA WHERE CDCOBAIA = :c AND DTINIHISTCOB <= :d1 AND "
                        "DTFIMHISTCOB >= :d2 ORDER BY NRSEQHISTCOB",
                        {c.text(0), when, when});
}

// Test subject, start and end of a rest period: the subject's next history row.
core::Variant InsHistCob(Call& c) {
    c.expect({Arg::Text, Arg::DateTime, Arg::DateTime});
    const std::string subject = c.text(0);
    if (c.arg(1).value.isNull() || c.arg(2).value.isNull())
        throw core::Error("Período de descanso da cobaia deve ser informado.");
    // Locks the subject's row, so two conclusions at once number its history in turn.
    if (execute(c.db(), "UPDATE COBAIA SET CDCOBAIA = CDCOBAIA WHERE CDCOBAIA = :c", {subject}) == 0)
        throw core::Error("Cobaia " + subject + " não cadastrada.");
    const auto next =
        queryValue(c.db(), "SELECT COALESCE(MAX(NRSEQHISTCOB), 0) + 1 FROM HISTCOBAIA WHERE CDCOBAIA = :c", {subject},
                   FieldType::Integer);
    execute(c.db(),
            "INSERT INTO HISTCOBAIA (CDCOBAIA, NRSEQHISTCOB, DTINIHISTCOB, DTFIMHISTCOB) VALUES (:c, :s, :i, :f)",
            {subject, next.asInteger(), c.dateTime(1).days, c.dateTime(2).days});
    return {};
}

// Start of an inspection, a subject's code (blank: any) and the selector ("T" for
// the list, "" for one code): the active subjects not resting at that start.
core::Variant GetPesqCobaia(Call& c) {
    c.expect({Arg::DateTime, Arg::Text, Arg::Text});
    const double start = c.dateTime(0).days;
    std::string sql =
        "SELECT C.CDCOBAIA, C.NMCOBAIA FROM COBAIA C WHERE C.IDSITCOBAIA = 'A' AND NOT EXISTS (SELECT 1 FROM "
        "HISTCOBAIA H WHERE H.CDCOBAIA = C.CDCOBAIA AND H.DTINIHISTCOB <= :d1 AND H.DTFIMHISTCOB >= :d2)";
    Params params{start, start};
    if (!blank(c.text(1))) {
        sql += " AND C.CDCOBAIA = :c";
        params.add(c.text(1));
    }
    return answerPacket(c.db(), {field("CDCOBAIA", FieldType::String, 10), field("NMCOBAIA", FieldType::String, 150)},
                        sql + " ORDER BY C.CDCOBAIA", std::move(params));
}

// One row: how many items the inspection has.
core::Variant GetContador(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text});
    return answerPacket(c.db(), {field("CONTADOR", FieldType::Float)},
                        "SELECT COUNT(*) FROM ITEMINSAUDIT WHERE CDFILIAL = :f AND NRAUDITORIA = :n AND "
                        "NRINSPECAUDI = :i",
                        {c.text(0), c.text(1), c.text(2)});
}

// The inspection's items with their response and acceptance.
core::Variant GetPesqItemInsAudit(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text});
    return answerPacket(c.db(),
                        {field("CDINSPECAO", FieldType::String, 10), field("CDRESPINSPEC", FieldType::String, 5),
                         field("IDOPCACEITIN", FieldType::String, 1)},
                        "SELECT CDINSPECAO, CDRESPINSPEC, IDOPCACEITIN FROM ITEMINSAUDIT WHERE CDFILIAL = :f AND "
                        "NRAUDITORIA = :n AND NRINSPECAUDI = :i ORDER BY CDINSPECAO",
                        {c.text(0), c.text(1), c.text(2)});
}

}  // namespace

void registerInspectionMethods(MethodTable& t) {
    t.add(kModule, "GetPrxInspecAudit", GetPrxInspecAudit);
    t.add(kModule, "SetInspecAudit", SetInspecAudit);
    t.add(kModule, "GetVerHistCob", GetVerHistCob, true);
    t.add(kModule, "InsHistCob", InsHistCob);
    t.add(kModule, "GetPesqCobaia", GetPesqCobaia, true);
    t.add(kModule, "GetContador", GetContador, true);
    t.add(kModule, "GetPesqItemInsAudit", GetPesqItemInsAudit, true);
}

}  // namespace appserver

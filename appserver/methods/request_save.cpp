// Saving a request header (SetAuditoria): its change log, the situation rules
// every client is held to, the stock moves of a conclusion or a reopening, the
// analysis validity, and what the save writes back.
#include <optional>
#include <string>
#include <vector>

#include "appserver/delta.h"
#include "appserver/methods/analysis_validity.h"
#include "appserver/methods/methods.h"
#include "appserver/methods/request_checks.h"
#include "appserver/methods/request_stock.h"
#include "appserver/refusal.h"
#include "appserver/sql.h"
#include "core/error.h"
#include "core/quantity.h"
#include "records/request_record.h"

namespace appserver {

namespace {

using core::FieldType;

// Argument positions (0-based) of SetAuditoria that the server reads.
enum SaveArg {
    kChanges = 0,
    kOperator = 2,
    kConcludes = 6,
    kPostingText = 14,
    kAnalysisKind = 16,
    kRevertsTransfer = 20,
    kRecalculatesValidity = 22,
    kConclusionMoment = 23,
    kApproved = 24,
    kRejected = 25,
    kNewSubLot = 26,
};

bool concluded(const std::string &situation) { return situation == "4" || situation == "5"; }

// What one change of the log touches: the request's key and, for a modify, the
// situation it sets and the one the database held before it.
struct RequestChange {
    core::ChangeKind kind;
    std::string branch, number;
    std::optional<std::string> newSituation;  // set only when the change moves the situation
    std::string storedSituation;
};

std::string textAt(const std::vector<core::Value> &values, int index) {
    return index < 0 || values[index].isNull() ? std::string() : values[index].asString();
}

std::vector<RequestChange> readChanges(Call &c, const core::Packet &p) {
    const int branch = p.fieldIndex("CDFILIAL"), number = p.fieldIndex("NRAUDITORIA"),
              situation = p.fieldIndex("IDSTATUSAUDI");
    std::vector<RequestChange> out;
    for (const auto &change : p.delta) {
        RequestChange r{change.kind, {}, {}, {}, {}};
        const auto &row = change.kind == core::ChangeKind::Delete ? change.oldValues : change.newValues;
        r.branch = textAt(row, branch);
        r.number = textAt(row, number);
        if (change.kind == core::ChangeKind::Insert) {
            if (blank(r.number)) throw core::Error("Número do pedido deve ser informado.");
            if (situation >= 0) r.newSituation = textAt(row, situation);
        } else if (change.kind == core::ChangeKind::Modify) {
            // The stored row, by the key the client read, before anything is applied.
            // When it is gone the change log's own check refuses the change.
            const auto stored =
                queryValue(c.db(), "SELECT IDSTATUSAUDI FROM AUDITORIA WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
                           {textAt(change.oldValues, branch), textAt(change.oldValues, number)});
            r.storedSituation = stored.isNull() ? std::string() : stored.asString();
            if (!stored.isNull() && situation >= 0 &&
                textAt(change.oldValues, situation) != textAt(change.newValues, situation))
                r.newSituation = textAt(change.newValues, situation);
        }
        out.push_back(std::move(r));
    }
    return out;
}

// The rules on a request's situation, whatever the client sends: a cancelled
// request stays cancelled, nothing goes back to pending, and no request is
// concluded while an inspection is open or when it has none.
void checkSituation(Call &c, const RequestChange &r) {
    if (!r.newSituation || *r.newSituation == r.storedSituation) return;
    const std::string &to = *r.newSituation;
    if (r.kind == core::ChangeKind::Modify) {
        if (r.storedSituation == "3") throw Refusal("P_SIT_CANCELADA");
        if (to == "1") throw Refusal("P_SIT_NPEND");
    }
    if (concluded(to) &&
        (inspectionCount(c.db(), r.branch, r.number) == 0 || openInspectionCount(c.db(), r.branch, r.number) > 0))
        throw Refusal("P_SIT_NCONC");
}

// A deleted request takes what hangs from it; the stock postings and the
// justification trail stay, as history.
void deleteOwnedRows(Call &c, const RequestChange &r) {
    for (const char *table : {"ITEMINSAUDIT", "INSPECAUDIT", "FORMULAANA", "RECURSOANA", "DSINSPPROD"})
        execute(c.db(), std::string("DELETE FROM ") + table + " WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
                {r.branch, r.number});
}

struct SavedRequest {
    std::string situation;
    RequestLot lot;
    core::Value dateIncluded, dateConcluded;
};

std::optional<SavedRequest> savedRequest(Call &c, const RequestChange &r) {
    const auto rows = queryRows(c.db(),
                                "SELECT IDSTATUSAUDI, CDPRODUTO, NRLOTEESTQ, NRSUBLOTE, IDTPAUDITADO, DTINCLAUDIT, "
                                "DTFINREALAUD FROM AUDITORIA WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
                                {r.branch, r.number},
                                {FieldType::String, FieldType::String, FieldType::String, FieldType::String,
                                 FieldType::String, FieldType::DateTime, FieldType::DateTime});
    if (rows.empty()) return std::nullopt;
    const auto &row = rows[0];
    auto text = [&](int i) { return row[i].isNull() ? std::string() : row[i].asString(); };
    SavedRequest s;
    s.situation = text(0);
    s.lot.lot = {r.branch, text(1), text(2), blank(text(3)) ? " " : text(3)};
    s.lot.process = text(4);
    s.dateIncluded = row[5];
    s.dateConcluded = row[6];
    return s;
}

// A new request records its kind of analysis and who made it: the session's
// operator, whatever the change log claims.
void completeNewRequest(Call &c, const core::Packet &p, const RequestChange &r) {
    if (p.fieldIndex("IDTIPOANA") < 0) {
        const std::string kind = c.text(kAnalysisKind);
        execute(c.db(), "UPDATE AUDITORIA SET IDTIPOANA = :k WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
                {kind == "C" || kind == "R" ? kind : std::string("A"), r.branch, r.number});
    }
    execute(c.db(), "UPDATE AUDITORIA SET CDOPEINCAUDI = :o WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
            {c.sessionOperator(kOperator), r.branch, r.number});
}

// The conclusion moves the lot out of quarantine once, when the request enters
// "4" or "5" (whole, or split by a partial approval); reopening ("2") moves it back when the client asked for it.
void moveStock(Call &c, const RequestChange &r, const SavedRequest &s) {
    if (r.kind != core::ChangeKind::Modify && r.kind != core::ChangeKind::Insert) return;
    if (blank(s.lot.lot.lot)) return;
    const bool concludes = c.boolean(kConcludes) && concluded(s.situation) && !concluded(r.storedSituation);
    const bool reopens = r.kind == core::ChangeKind::Modify && c.boolean(kRevertsTransfer) &&
                         concluded(r.storedSituation) && s.situation == "2";
    if (!concludes && !reopens) return;
    if (!movesStockOnAnalysis(c, r.branch)) return;
    stock::Posting posting;
    posting.operatorCode = c.sessionOperator(kOperator);
    posting.request = r.number;
    posting.description = c.text(kPostingText) + r.number;
    // A rejected quantity means the partial approval split the lot.
    const double rejected = c.number(kRejected);
    if (concludes && core::compareQuantity(rejected, 0) != 0)
        splitConcludedLot(c, s.lot, r.number, {c.number(kApproved), rejected, c.text(kNewSubLot)}, posting);
    else if (concludes)
        moveConcludedLot(c, s.lot, s.situation, posting);
    else
        moveReopenedLot(c, s.lot, r.storedSituation, posting);
}

// The analysis validity counted again from the request's date, on the request
// and on its lot.
void writeValidity(Call &c, const RequestChange &r, const SavedRequest &s) {
    if (s.dateIncluded.isNull()) return;
    const auto validity = analysisValidity(c.db(), s.lot.lot.product, s.dateIncluded.asDateTime());
    execute(c.db(), "UPDATE AUDITORIA SET DTVALANA = :v WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
            {validityText(validity), r.branch, r.number});
    if (!blank(s.lot.lot.lot))
        execute(c.db(),
                "UPDATE LOTE SET DTVALIANALOTE = :v WHERE CDFILIAL = :f AND CDPRODUTO = :p AND NRLOTEESTQ = :l AND "
                "NRSUBLOTE = :s",
                {validity.days, r.branch, s.lot.lot.product, s.lot.lot.lot, s.lot.lot.subLot});
}

// Arguments: the header's change log, the null-field list, the operator, three
// range texts, boConcAnalise, three message texts, product, lot, sub-lot,
// branch, the posting text, request number, stIdAna (by reference), the brand
// text, process, sample quantity, boReverteTransf, the kind's text,
// boAltValidade, and by reference the conclusion moment, the approved and
// rejected quantities and the new sub-lot. The request's own saved row, not the
// copies among the arguments, decides what moves. Answers null.
core::Variant SetAuditoria(Call &c) {
    c.expect({Arg::Packet, Arg::Text,    Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Boolean,
              Arg::Text,   Arg::Text,    Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text,
              Arg::Text,   Arg::Text,    Arg::Text, Arg::Text, Arg::Text, Arg::Any,  Arg::Boolean,
              Arg::Text,   Arg::Boolean, Arg::Any,  Arg::Any,  Arg::Any,  Arg::Text});
    c.sessionOperator(kOperator);  // a save in another operator's name is refused before anything
    const auto &packet = c.packet(kChanges);
    const auto changes = readChanges(c, packet);
    for (const auto &r : changes) checkSituation(c, r);

    applyDelta(c.db(), c.catalog(), records::requestRecord(), packet);

    core::Value conclusionMoment;
    for (const auto &r : changes) {
        if (r.kind == core::ChangeKind::Delete) {
            deleteOwnedRows(c, r);
            continue;
        }
        const auto saved = savedRequest(c, r);
        if (!saved) continue;
        if (r.kind == core::ChangeKind::Insert) completeNewRequest(c, packet, r);
        moveStock(c, r, *saved);
        if (c.boolean(kRecalculatesValidity)) writeValidity(c, r, *saved);
        conclusionMoment = saved->dateConcluded;
    }

    c.setOut(kAnalysisKind, c.arg(kAnalysisKind));
    c.setOut(kConclusionMoment, core::Variant(conclusionMoment));
    c.setOut(kApproved, c.arg(kApproved));
    c.setOut(kRejected, c.arg(kRejected));
    c.setOut(kNewSubLot, c.arg(kNewSubLot));
    return {};
}

}  // namespace

void registerRequestSaveMethods(MethodTable &t) { t.add(kModule, "SetAuditoria", SetAuditoria); }

}  // namespace appserver

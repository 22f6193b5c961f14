// The items of an inspection as the screen answers them one by one, the response
// catalogue their results are judged against, and the lot's situation that follows.
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "appserver/delta.h"
#include "appserver/methods/methods.h"
#include "appserver/methods/normal_range.h"
#include "appserver/methods/request_checks.h"
#include "appserver/sql.h"
#include "core/error.h"
#include "core/treecode.h"
#include "records/item_record.h"

namespace appserver {

namespace {

using core::FieldType;

std::string textOf(const core::Value& v) { return v.isNull() ? std::string() : v.asString(); }

// The catalogue's rows as the screen's cdsResultado and cdsExisteImensu hold them.
const std::vector<core::FieldDef>& responseFields() {
    static const std::vector<core::FieldDef> fields = {
        field("CDRESPINSPEC", FieldType::String, 5), field("NMRESPINSPEC", FieldType::String, 50),
        field("IDFAIXRESINS", FieldType::String, 1), field("VRINIFAIXRES", FieldType::Float),
        field("VRFINFAIXRES", FieldType::Float),     field("VRPONTRESINS", FieldType::Float),
        field("SGUNIDADE", FieldType::String, 10)};
    return fields;
}
const std::string kResponseColumns =
    "SELECT CDRESPINSPEC, NMRESPINSPEC, IDFAIXRESINS, VRINIFAIXRES, VRFINFAIXRES, VRPONTRESINS, SGUNIDADE "
    "FROM RESPOSINSPEC WHERE ";

// One change of the items' log: the item it names and the values it brings.
struct ItemChange {
    core::ChangeKind kind;
    std::string branch, request, number, analysis;
    core::Value accepted, immeasurable;  // IDOPCACEITIN, IDRESULTIMENS as they will be
};

std::vector<ItemChange> readItemChanges(const core::Packet& p) {
    const int branch = p.fieldIndex("CDFILIAL"), request = p.fieldIndex("NRAUDITORIA"),
              number = p.fieldIndex("NRINSPECAUDI"), analysis = p.fieldIndex("CDINSPECAO"),
              accepted = p.fieldIndex("IDOPCACEITIN"), immeasurable = p.fieldIndex("IDRESULTIMENS");
    if (branch < 0 || request < 0 || number < 0 || analysis < 0)
        throw core::Error("Pacote de dados sem campos-chave para a tabela ITEMINSAUDIT.");
    std::vector<ItemChange> out;
    for (const auto& change : p.delta) {
        const auto& row = changedRow(p, change);
        ItemChange r{
            change.kind, textOf(row[branch]), textOf(row[request]), textOf(row[number]), textOf(row[analysis]), {}, {}};
        if (change.kind == core::ChangeKind::Modify) {
            // The checks of a new item would be skipped by moving a saved one.
            for (int k : {branch, request, number, analysis})
                if (textOf(change.oldValues[k]) != textOf(change.newValues[k]))
                    throw core::Error("A análise de um item gravado não pode ser trocada. Exclua-o e inclua outro.");
        }
        if (change.kind != core::ChangeKind::Delete) {
            if (accepted >= 0) r.accepted = change.newValues[accepted];
            if (immeasurable >= 0) r.immeasurable = change.newValues[immeasurable];
        }
        out.push_back(std::move(r));
    }
    return out;
}

void checkValues(const ItemChange& r) {
    if (r.kind == core::ChangeKind::Delete) return;
    if (!r.accepted.isNull()) {
        const auto a = trimmed(textOf(r.accepted));
        if (a != "P" && a != "S" && a != "N")
            throw core::Error("Situação do item inválida: \"" + textOf(r.accepted) +
                              "\". Use P (pendente), S (aceito) ou N (rejeitado).");
    }
    const auto i = trimmed(textOf(r.immeasurable));
    if (!i.empty() && i != "D" && i != "T")
        throw core::Error("Resultado imensurável inválido: \"" + textOf(r.immeasurable) +
                          "\". Use D (Indetectável) ou T (Incontável).");
}

// Levels of the analysis tree: an inspection's analysis is of the penultimate level,
// its items' of the last, under it.
const core::TreePicture& analysisTree() { return core::treePicture(12); }

// Nothing of a cancelled request changes. A new item is an active last-level
// analysis of its inspection's branch of the tree, once per inspection.
void checkItemChange(Call& c, const ItemChange& r,
                     std::set<std::tuple<std::string, std::string, std::string, std::string>>& inserted) {
    checkValues(r);
    checkRequestOpen(c.db(), r.branch, r.request);
    if (r.kind != core::ChangeKind::Insert) return;

    const auto inspection =
        queryRows(c.db(),
                  "SELECT I.CDARVINSPEC FROM INSPECAUDIT N LEFT JOIN INSPECAO I ON I.CDINSPECAO = "
                  "N.CDINSPECAO WHERE N.CDFILIAL = :f AND N.NRAUDITORIA = :n AND N.NRINSPECAUDI = :i",
                  {r.branch, r.request, r.number}, {FieldType::String});
    if (inspection.empty())
        throw core::Error("Análise " + r.number + " do pedido de análise " + r.request + " não cadastrada.");
    const auto analysis = queryRows(c.db(),
                                    "SELECT CDARVINSPEC FROM INSPECAO WHERE CDINSPECAO = :a AND CDNVINSPECAO = :l AND "
                                    "IDORIGINSPEC = 'ANA' AND IDSITINSPEC = 'A'",
                                    {r.analysis, std::to_string(analysisTree().levels())}, {FieldType::String});
    if (analysis.empty()) throw core::Error("Análise não cadastrada ou inativa.");
    const std::string branchCode = textOf(inspection[0][0]), tree = textOf(analysis[0][0]);
    const auto prefix = static_cast<size_t>(analysisTree().lengthToLevel(analysisTree().levels() - 1));
    if (branchCode.empty() || tree.compare(0, prefix, branchCode) != 0)
        throw core::Error("Análise deve ser do mesmo nível anterior que a análise informada.");
    const auto present = queryValue(c.db(),
                                    "SELECT COUNT(*) FROM ITEMINSAUDIT WHERE CDFILIAL = :f AND NRAUDITORIA = :n AND "
                                    "NRINSPECAUDI = :i AND CDINSPECAO = :a",
                                    {r.branch, r.request, r.number, r.analysis}, FieldType::Integer);
    if (present.asInteger() > 0 || !inserted.insert({r.branch, r.request, r.number, r.analysis}).second)
        throw core::Error("Análise já cadastrada.");
}

// Change log of cdsItemInsAudit and the null-field list (the log carries every value,
// nulls included, so the list is not needed). An item keeps the operator the screen
// names (the analyst may not be the one typing); without one, the session's operator
// is recorded. A new item takes its analysis' importance when the screen sends none.
// Answers null.
core::Variant SetItemInsAudit(Call& c) {
    c.expect({Arg::Packet, Arg::Text});
    const auto& packet = c.packet(0);
    const auto changes = readItemChanges(packet);
    std::set<std::tuple<std::string, std::string, std::string, std::string>> inserted;
    for (const auto& r : changes) checkItemChange(c, r, inserted);

    applyDelta(c.db(), c.catalog(), records::itemRecord(), packet);

    const std::string& me = c.login().operador;
    const std::string where = " WHERE CDFILIAL = :f AND NRAUDITORIA = :n AND NRINSPECAUDI = :i AND CDINSPECAO = :a";
    for (const auto& r : changes) {
        if (r.kind == core::ChangeKind::Delete) continue;
        const Params key{r.branch, r.request, r.number, r.analysis};
        execute(c.db(),
                "UPDATE ITEMINSAUDIT SET CDOPERADOR = :o" + where + " AND (CDOPERADOR IS NULL OR CDOPERADOR = '')",
                {me, r.branch, r.request, r.number, r.analysis});
        const auto unknown =
            queryValue(c.db(),
                       "SELECT COUNT(*) FROM ITEMINSAUDIT M" + std::string(where) +
                           " AND NOT EXISTS (SELECT 1 FROM OPERADOR O WHERE O.CDOPERADOR = M.CDOPERADOR)",
                       key, FieldType::Integer);
        if (unknown.asInteger() > 0) throw core::Error("Operador não cadastrado.");
        if (r.kind == core::ChangeKind::Insert)
            execute(c.db(),
                    "UPDATE ITEMINSAUDIT SET IDATEITEINSP = (SELECT I.IDATEITEINSP FROM INSPECAO I WHERE I.CDINSPECAO "
                    "= ITEMINSAUDIT.CDINSPECAO)" +
                        where + " AND IDATEITEINSP IS NULL",
                    key);
    }
    return {};
}

// Analysis, kinds ("A" both immeasurable kinds, "D" undetectable, "T" uncountable),
// the request's product and the version text (by reference, written back as it came):
// the analysis' immeasurable-result rows of the catalogue that judges it, the
// product's (any process) for the version when it has rows for the analysis, else the
// general ones. The screen refuses an immeasurable result the rows do not offer.
core::Variant GetExisteImensu(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text, Arg::Text});
    c.setOut(3, c.arg(3));
    const std::string analysis = c.text(0), mode = trimmed(c.text(1)), product = trimmed(c.text(2)),
                      version = catalogueVersion(c.text(3));
    std::string kinds;
    if (mode == "A")
        kinds = "IDFAIXRESINS IN ('D', 'T')";
    else if (mode == "D" || mode == "T")
        kinds = "IDFAIXRESINS = '" + mode + "'";
    else
        throw core::Error("Tipo de resultado imensurável inválido: \"" + c.text(1) +
                          "\". Use A (todos), D (Indetectável) ou T (Incontável).");
    const std::string ofProduct = "CDPRODUTO = :p AND COALESCE(CDVERSAO, 'x') = :v";
    const bool own = !product.empty() &&
                     queryValue(c.db(), "SELECT COUNT(*) FROM RESPOSINSPEC WHERE CDINSPECAO = :a AND " + ofProduct,
                                {analysis, product, version}, FieldType::Integer)
                             .asInteger() > 0;
    if (own)
        return answerPacket(
            c.db(), responseFields(),
            kResponseColumns + "CDINSPECAO = :a AND " + ofProduct + " AND " + kinds + " ORDER BY NRSEQRESPINSP",
            {analysis, product, version});
    return answerPacket(
        c.db(), responseFields(),
        kResponseColumns + "CDINSPECAO = :a AND CDPRODUTO IS NULL AND " + kinds + " ORDER BY NRSEQRESPINSP",
        {analysis});
}

// Mode 1 (the product's rows for a process and version) or 2 (the general rows),
// product, process, analysis and version: the rows a result is judged against, in the
// catalogue's order, which decides between two rows that both hold a value.
core::Variant GetResultado(Call& c) {
    c.expect({Arg::Integer, Arg::Text, Arg::Text, Arg::Text, Arg::Text});
    const auto mode = c.integer(0);
    if (mode == 1)
        return answerPacket(c.db(), responseFields(), kResponseColumns + kProductRows + " ORDER BY NRSEQRESPINSP",
                            {c.text(3), trimmed(c.text(1)), trimmed(c.text(2)), catalogueVersion(c.text(4))});
    if (mode == 2)
        return answerPacket(c.db(), responseFields(),
                            kResponseColumns + "CDINSPECAO = :a AND CDPRODUTO IS NULL ORDER BY NRSEQRESPINSP",
                            {c.text(3)});
    throw core::Error("Modo de consulta das respostas inválido: " + std::to_string(mode) +
                      ". Use 1 (do produto) ou 2 (gerais).");
}

// Branch, request and analysis: the description of the analysed product (0 or 1 row).
core::Variant GetDescInsAudit(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text});
    return answerPacket(c.db(), {field("DSINSPROD", FieldType::Blob)},
                        "SELECT DSINSPROD FROM DSINSPPROD WHERE CDFILIAL = :f AND NRAUDITORIA = :n AND CDINSPECAO = :a",
                        {c.text(0), c.text(1), c.text(2)});
}

// Tree code of an analysis, branch, request and inspection number: a row when the
// analysis is already an item of that inspection.
core::Variant GetVdInspUltNiv(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text, Arg::Text});
    return answerPacket(c.db(), {field("CDINSPECAO", FieldType::String, 10)},
                        "SELECT M.CDINSPECAO FROM ITEMINSAUDIT M JOIN INSPECAO I ON I.CDINSPECAO = M.CDINSPECAO "
                        "WHERE I.CDARVINSPEC = :arv AND M.CDFILIAL = :f AND M.NRAUDITORIA = :n AND M.NRINSPECAUDI = :i",
                        {trimmed(c.text(0)), c.text(1), c.text(2), c.text(3)});
}

// Branch and request: the items whose verdict governs the lot, those of importance
// "I" (indispensable) and "N" (necessary). While there is any, an item's save puts the
// lot back under analysis and only the conclusion releases it; a request of
// recommended, informative and compatibility items only releases its lot at once.
core::Variant GetVerifItemAudit(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return answerPacket(c.db(), {field("IDATEITEINSP", FieldType::String, 1)},
                        "SELECT IDATEITEINSP FROM ITEMINSAUDIT WHERE CDFILIAL = :f AND NRAUDITORIA = :n AND "
                        "IDATEITEINSP IN ('I', 'N') ORDER BY NRINSPECAUDI, CDINSPECAO",
                        {c.text(0), c.text(1)});
}

// Date, the lot's situation ("L" released, "R" rejected, "A" under analysis), branch,
// lot, sub-lot (empty: none, one blank), product and stIdent (by reference): "1" the
// date is the analysis validity of the lot, "0" no analysis validates it (cleared).
// stIdent comes back "1" when the lot was found and "0" when it was not.
core::Variant Up_Lote(Call& c) {
    c.expect({Arg::DateTime, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text});
    const std::string situation = trimmed(c.text(1)), ident = trimmed(c.text(6));
    if (situation != "L" && situation != "R" && situation != "A")
        throw core::Error("Situação do lote inválida: \"" + c.text(1) +
                          "\". Use L (liberado), R (reprovado) ou A (em análise).");
    if (ident != "0" && ident != "1")
        throw core::Error("Indicador da validade da análise do lote inválido: \"" + c.text(6) + "\". Use 0 ou 1.");
    core::Value validity;
    if (ident == "1" && !c.arg(0).value.isNull()) validity = core::Value(c.dateTime(0).days);
    const std::string subLot = c.text(4).empty() ? " " : c.text(4);
    const auto changed = execute(c.db(),
                                 "UPDATE LOTE SET IDSITLOTE = :s, DTVALIANALOTE = :d WHERE CDFILIAL = :f AND "
                                 "CDPRODUTO = :p AND NRLOTEESTQ = :l AND NRSUBLOTE = :sl",
                                 {situation, validity, c.text(2), c.text(5), c.text(3), subLot});
    c.setOut(6, std::string(changed > 0 ? "1" : "0"));
    return {};
}

}  // namespace

void registerItemMethods(MethodTable& t) {
    t.add(kModule, "SetItemInsAudit", SetItemInsAudit);
    t.add(kModule, "GetExisteImensu", GetExisteImensu, true);
    t.add(kModule, "GetResultado", GetResultado, true);
    t.add(kModule, "GetDescInsAudit", GetDescInsAudit, true);
    t.add(kModule, "GetVdInspUltNiv", GetVdInspUltNiv, true);
    t.add(kModule, "GetVerifItemAudit", GetVerifItemAudit, true);
    t.add(kModule, "Up_Lote", Up_Lote);
}

}  // namespace appserver

// The inspection grid dbgInspecAudit: its columns and what they let the user do.
#include <fmt/format.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/format.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"
#include "screen/frame/screen_state.h"
#include "screen/frame/screen_state_util.h"
#include "screen/inspection/inspection.h"

namespace screen {

namespace {

using building::on;
using platform::Key;
using platform::vk::Delete;
using state::blank;
using state::editing;
using state::ensureEditing;
using state::text;
using State = core::DataSetState;

platform::Control& grid(TfrmPedidoAna& s) { return s.comps["dbgInspecAudit"]; }
std::string column(TfrmPedidoAna& s) { return grid(s).selectedField(); }

bool dateColumn(const std::string& field) { return field == "DTINIRINSAUD" || field == "DTFINRINSAUD"; }

// The start date is saved once the server holds it; from then on the dates are
// changed only through the picker.
bool startSaved(TfrmPedidoAna& s) { return !s.cdsInspecAudit.field("DTINIRINSAUD").oldValue().isNull(); }

// The host's date-time picker: the picked moment, or nothing.
std::optional<core::DateTime> pickDateTime(const core::Field& current, const std::string& option) {
    std::vector<std::string> args{current.isNull() ? std::string() : fmt::format("{}", current.asDateTime().days),
                                  option, "0"};
    platform::LoadBPL("LKS59421", args);
    const auto days = core::parseCNumber(args.empty() ? std::string() : args[0]);
    if (!days || *days == 0) return std::nullopt;
    return core::DateTime(*days);
}

void pickAnalysis(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    if (i.state() != State::Insert) return;
    auto& q = s.qryInspecao;
    q.close();
    q.ParamByName("P_CDNVINSPECAO") = core::Value(std::to_string(platform::GetTtNiveis(12) - 1));
    q.ParamByName("P_CDARVINSPEC") = core::Value();
    q.Open();
    if (!platform::Pesquisar(q, s.msgPadrao.Msg("Analise"), s.msgPadrao.Msg("AnaliseN_Cad"),
                             {"CDARVINSPEC", "NMINSPECAO"}))
        return;
    i.field("CDARVINSPEC").setValue(q.field("CDARVINSPEC").value());
    i.field("CDINSPECAO").setValue(q.field("CDINSPECAO").value());
    i.field("NMINSPECAO").setValue(q.field("NMINSPECAO").value());
    i.field("DSANALISE").setValue(q.field("NMINSPECAO").value());
}

void pickStart(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    ensureEditing(i);
    if (const auto picked = pickDateTime(i.field("DTINIRINSAUD"), "")) i.field("DTINIRINSAUD").setValue(*picked);
}

void pickSubject(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    ensureEditing(i);
    if (i.field("DTINIRINSAUD").isNull()) platform::MensErro(s.msgPadrao.Msg("CobaiaN_Cad"));
    s.load(s.cdsPesqCobaia, "GetPesqCobaia", {i.field("DTINIRINSAUD").asDateTime(), std::string(), std::string("T")});
    if (!platform::Pesquisar(s.cdsPesqCobaia, s.msgPadrao.Msg("Cobaia"), s.msgPadrao.Msg("CobaiaN_Cad"))) return;
    i.field("CDCOBAIA").setValue(s.cdsPesqCobaia.field("CDCOBAIA").value());
    i.field("NMCOBAIA").setValue(s.cdsPesqCobaia.field("NMCOBAIA").value());
}

}  // namespace

void nameInPlace(platform::CellDraw& cell, const char* nameField) {
    if (cell.focused && cell.editing) return;
    const std::string name = cell.displayText(nameField);
    if (!name.empty()) cell.text = name;
}

void situationIcon(platform::CellDraw& cell) {
    if (cell.set.isEmpty()) return;
    const std::string v = cell.value(cell.column.field).asString();
    cell.text.clear();
    cell.image = v == "S" ? "imgOK" : v == "N" ? "imgCancela" : v == "P" ? "imgPendente" : "";
    cell.imageAlignment = platform::Alignment::Center;
}

bool gridInsertDelete(TfrmPedidoAna& s, core::RecordSet& set, Key& key) {
    if (key.is(platform::vk::Insert) && !key.alt && !key.ctrl && !key.shift && set.state() == State::Browse) {
        key.clear();
        set.append();
        return true;
    }
    if (key.ctrl && key.is(Delete) && set.state() == State::Browse && !set.isEmpty()) {
        key.clear();
        if (s.msgPadrao.ShowMsg("Excl", platform::MsgType::Confirmation, platform::MsgButtons::YesNo) ==
            platform::MsgResult::Yes)
            set.remove();
        return true;
    }
    return false;
}

void pickConclusion(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    const bool separately = text(s.cdsParamMXA, "IDUTSEGLIBANA") == "S";
    if (!separately && !platform::Autorizacao(platform::Operador(), "CANA")) return;
    ensureEditing(i);
    if (const auto picked = pickDateTime(i.field("DTFINRINSAUD"), separately ? "" : "O"))
        i.field("DTFINRINSAUD").setValue(*picked);
}

void dbgInspecAuditEnter(TfrmPedidoAna& s) {
    if (s.padrao() == &s.cdsInspecAudit) return;
    s.setPadrao(&s.cdsInspecAudit);
    dtsPadraoStateChange(s);
}

void dbgInspecAuditColEnter(TfrmPedidoAna& s) {
    const std::string col = column(s);
    if (col == "CDARVINSPEC")
        grid(s).editing = s.cdsInspecAudit.state() == State::Insert;
    else
        grid(s).editing = col != "IDINSPCONC" && col != "TEMPO" && col != "CDORDEMAUDIT";
}

void dbgInspecAuditColExit(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    if (!s.comps.has("dbgInspecAudit") || !editing(i)) return;
    const std::string col = column(s);
    if (col == "CDARVINSPEC" && i.state() == State::Insert) {
        Vd_Inspecao(s, false);
    } else if (col == "DTFINRINSAUD") {
        setConcludingOperator(s);
    } else if (col == "CDCOBAIA") {
        Vd_Cobaia(s);
    }
}

void dbgInspecAuditEditButtonClick(TfrmPedidoAna& s) {
    const std::string col = column(s);
    if (col == "CDARVINSPEC")
        pickAnalysis(s);
    else if (col == "DTFINRINSAUD")
        pickConclusion(s);
    else if (col == "DTINIRINSAUD")
        pickStart(s);
    else if (col == "CDCOBAIA")
        pickSubject(s);
}

void dbgInspecAuditKeyPress(TfrmPedidoAna& s, Key& key) {
    const std::string col = column(s);
    auto& i = s.cdsInspecAudit;
    if (col == "IDTIPOINSAUD" && key.text.size() == 1) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(key.text[0])));
        if (c == 'A' || c == 'R') {
            ensureEditing(i);
            i.field("IDTIPOINSAUD").setValue(std::string(1, c));
            key.clear();
        }
    } else if (dateColumn(col) && startSaved(s) && key.text != "\r") {
        key.clear();
    }
}

void dbgInspecAuditKeyDown(TfrmPedidoAna& s, Key& key) {
    auto& i = s.cdsInspecAudit;
    const std::string col = column(s);
    if (i.state() == State::Browse && key.alt && (key.is(platform::vk::Prior) || key.is(platform::vk::Next))) {
        s.comps.setFocus(key.is(platform::vk::Prior) ? "dbgItem" : "dbrDesc");
        key.clear();
        return;
    }
    if (dateColumn(col) && startSaved(s) && (key.is(platform::vk::Back) || key.is(Delete))) {
        key.clear();
        return;
    }
    if (col == "DTFINRINSAUD" && i.field("DTFINRINSAUD").oldValue().isNull() && key.isDigit() && !key.alt &&
        !key.ctrl) {
        key.clear();
        pickConclusion(s);
        return;
    }
    if (key.ctrl && key.is(Delete) && text(s.cdsAuditoria, "IDSTATUSAUDI") == "3") {
        key.clear();
        return;
    }
    gridInsertDelete(s, i, key);
}

void dbgInspecAuditDblClick(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    if (column(s) != "IDTIPOINSAUD" || !editing(i)) return;
    i.field("IDTIPOINSAUD").setValue(text(i, "IDTIPOINSAUD") == "A" ? "R" : "A");
}

void dtsInspecAuditStateChange(TfrmPedidoAna& s) {
    if (!s.comps.has("dbgInspecAudit")) return;
    const State st = s.cdsInspecAudit.state();
    auto& g = grid(s);
    if (auto* c = g.column("CDARVINSPEC")) c->button = st == State::Insert;
    const std::string sit = text(s.cdsAuditoria, "IDSTATUSAUDI");
    const bool open = !state::closedSituation(sit);
    if (auto* c = g.column("CDCOBAIA")) c->button = open && (st == State::Edit || st == State::Insert);
    state::enable(s.comps, {"dbgItem"}, st == State::Browse);
    if (sit == "5" || (sit == "4" && !blank(text(s.cdsAuditoria, "NRORDPROD"))))
        state::enable(s.comps, {"sbtAlterar", "sbtExcluir"}, false);
    if (s.cdsInspecAudit.isEmpty() && s.padrao() == &s.cdsInspecAudit && st == State::Browse)
        state::enable(s.comps, {"sbtAlterar"}, false);
}

void buildInspectionGrid(TfrmPedidoAna& s) {
    auto& g = building::grid(s.comps, "dbgInspecAudit", "tshItemAna", "dtsInspecAudit", {});
    g.columns = {{"IDINSPCONC", "Sit."},         {"CDARVINSPEC", "Análise"},        {"IDTIPOINSAUD", "Tipo"},
                 {"DTINIRINSAUD", "Dt. Início"}, {"DTFINRINSAUD", "Dt. Conclusão"}, {"NMOPERADOR", "Operador"},
                 {"DSINSPECAUDI", "Descrição"},  {"TEMPO", "Tempo Gasto"},          {"CDCOBAIA", "Cobaia"},
                 {"CDORDEMAUDIT", "Ord"}};
    g.column("IDINSPCONC")->readOnly = true;
    g.column("NMOPERADOR")->readOnly = true;
    g.column("TEMPO")->readOnly = true;
    g.column("CDORDEMAUDIT")->readOnly = true;
    g.column("TEMPO")->alignment = platform::Alignment::Right;
    g.column("IDTIPOINSAUD")->pickList = {s.msgPadrao.Msg("A_2"), s.msgPadrao.Msg("R_2")};
    g.column("DTINIRINSAUD")->button = true;
    g.column("DTFINRINSAUD")->button = true;
    // Wide enough for the names the code and subject cells paint.
    for (const auto& [field, width] :
         {std::pair{"IDINSPCONC", 40}, std::pair{"CDARVINSPEC", 260}, std::pair{"IDTIPOINSAUD", 90},
          std::pair{"NMOPERADOR", 180}, std::pair{"DSINSPECAUDI", 240}, std::pair{"CDCOBAIA", 200}})
        g.column(field)->width = width;
    g.column("CDARVINSPEC")->onDraw = [](platform::CellDraw& cell) { nameInPlace(cell, "NMINSPECAO"); };
    g.column("CDCOBAIA")->onDraw = [](platform::CellDraw& cell) { nameInPlace(cell, "NMCOBAIA"); };
    g.column("IDINSPCONC")->onDraw = situationIcon;
    g.editing = true;

    on(g.onEnter, s, dbgInspecAuditEnter);
    on(g.onColEnter, s, dbgInspecAuditColEnter);
    on(g.onColExit, s, dbgInspecAuditColExit);
    on(g.onEditButtonClick, s, dbgInspecAuditEditButtonClick);
    on(g.onDblClick, s, dbgInspecAuditDblClick);
    g.onKeyPress = [&s](Key& key) { dbgInspecAuditKeyPress(s, key); };
    g.onKeyDown = [&s](Key& key) { dbgInspecAuditKeyDown(s, key); };
    if (auto* ds = s.comps.dataSource("dtsInspecAudit"))
        ds->onStateChange.connect([&s](platform::DataSource&) { dtsInspecAuditStateChange(s); });
}

}  // namespace screen

// The items grid dbgItem: its columns, what each lets the user edit, the response,
// operator and analysis look-ups, and the partial-approval flag.
#include <functional>
#include <string>
#include <utility>

#include "core/error.h"
#include "core/normal_range.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"
#include "screen/frame/screen_state.h"
#include "screen/frame/screen_state_util.h"
#include "screen/inspection/inspection.h"
#include "screen/inspection/item.h"
#include "screen/request/request_save.h"

namespace screen {

namespace {

using building::on;
using platform::Key;
using state::blank;
using state::editing;
using state::ensureEditing;
using state::text;
using State = core::DataSetState;

platform::Control& grid(TfrmPedidoAna& s) { return s.comps["dbgItem"]; }
std::string column(TfrmPedidoAna& s) { return grid(s).selectedField(); }
core::RecordSet& items(TfrmPedidoAna& s) { return s.cdsItemInsAudit; }

bool measured(TfrmPedidoAna& s) { return text(items(s), "IDTPRESPINSP") == "VALR"; }

void pickResponse(TfrmPedidoAna& s) {
    // Under version control the catalogue in force decides; outside it nothing may be answered.
    if (!s.cdsVdVersao.isEmpty() && s.cdsVersao.isEmpty()) platform::MensErro(s.msgPadrao.Msg("sem_vige"));
    auto& it = items(s);
    auto* q = &catalogueQuery(s, s.qryResposta, s.qryRespGeral, responseProduct(s));
    q->Open();
    ensureEditing(it);
    if (!platform::Pesquisar(*q, s.msgPadrao.Msg("Resposta"), s.msgPadrao.Msg("N_Resposta_Cad"))) return;
    for (const char* f : {"CDRESPINSPEC", "NMRESPINSPEC", "VRPONTRESINS"}) it.field(f).setValue(q->field(f).value());
    if (q == &s.qryResposta) it.field("NMRESPTEXT").setValue(q->field("NMRESPINSPEC").value());
    if (!blank(text(it, "CDRESPINSPEC"))) {
        const auto& points = it.field("VRPONTRESINS");
        it.field("IDOPCACEITIN").setValue(!points.isNull() && points.asFloat() > 1 ? "N" : "S");
    }
}

void pickOperator(TfrmPedidoAna& s) {
    auto& q = s.qryOperador;
    q.close();
    q.ParamByName("P_CDOPERADOR") = core::Value();
    q.Open();
    auto& it = items(s);
    ensureEditing(it);
    if (!platform::Pesquisar(q, s.msgPadrao.Msg("Operador"), s.msgPadrao.Msg("OperadorN_Cad"))) return;
    it.field("CDOPERADOR").setValue(q.field("CDOPERADOR").value());
    it.field("NMOPERADOR").setValue(q.field("NMOPERADOR").value());
}

void pickAnalysis(TfrmPedidoAna& s) {
    auto& it = items(s);
    if (it.state() != State::Insert) return;
    auto& q = s.qryInspUltNv;
    q.close();
    q.ParamByName("P_CDNVINSPECAO") = core::Value(std::to_string(platform::GetTtNiveis(12)));
    q.ParamByName("P_CDARVINSPEC") = core::Value(text(s.cdsInspecAudit, "CDARVINSPEC"));
    q.Open();
    if (!platform::Pesquisar_Plus(q, s.msgPadrao.Msg("Analise"), s.msgPadrao.Msg("AnaliseN_Cad"),
                                  {"CDARVINSPEC", "NMINSPECAO"}))
        return;
    for (const char* f : {"CDINSPECAO", "NMINSPECAO", "CDARVINSPEC"}) it.field(f).setValue(q.field(f).value());
    it.field("DSANALISE").setValue(q.field("NMINSPECAO").value());
    it.field("SGUNRESPOSTA").setValue(core::utf8Prefix(text(q, "SGUNIDADE"), 2));
}

}  // namespace

void dbgItemEnter(TfrmPedidoAna& s) {
    if (s.cdsInspecAudit.isEmpty() || s.padrao() == &s.cdsItemInsAudit) return;
    s.setPadrao(&s.cdsItemInsAudit);
    dtsPadraoStateChange(s);
}

void dbgItemExit(TfrmPedidoAna& s) {
    if (editing(items(s))) items(s).post();
}

void dbgItemColEnter(TfrmPedidoAna& s) {
    const std::string col = column(s);
    auto& g = grid(s);
    if (col == "VRRESPINSAUD") {
        g.editing = measured(s);
    } else if (col == "RESULTADO") {
        bool offered = false;
        if (!items(s).isEmpty() || editing(items(s))) {
            loadImmeasurable(s);
            offered = !s.cdsExisteImensu.isEmpty();
        }
        g.editing = offered;
    } else if (col == "CDRESPINSPEC") {
        g.editing = !measured(s);
    } else if (col == "CDARVINSPEC") {
        g.editing = items(s).state() == State::Insert;
    } else {
        g.editing = col == "CDOPERADOR";
    }
}

void dbgItemColExit(TfrmPedidoAna& s) {
    auto& it = items(s);
    if (!s.comps.has("dbgItem") || !editing(it)) return;
    const std::string col = column(s), type = text(it, "IDTPRESPINSP");
    if ((col == "VRRESPINSAUD" || col == "CDRESPINSPEC") && (type == "VALR" || type == "TEXT"))
        composeNormalRange(s, false);
    if (col == "CDRESPINSPEC") Vd_Resposta(s);
    if (col == "CDOPERADOR") Vd_Operador(s, false, "CDOPERADOR", "NMOPERADOR");
    if (col == "VRRESPINSAUD" && type == "VALR") Vd_Resultado(s);
    if (col == "CDARVINSPEC" && it.state() == State::Insert) Vd_InspUltNiv(s, false);
    if (col == "RESULTADO" && it.state() == State::Edit) {
        immeasurableFromText(s);
        stVersao = versionText(s);
        checkImmeasurableProfile(s);
    }
}

void dbgItemEditButtonClick(TfrmPedidoAna& s) {
    const std::string col = column(s);
    if (col == "CDRESPINSPEC")
        pickResponse(s);
    else if (col == "CDOPERADOR")
        pickOperator(s);
    else if (col == "CDARVINSPEC")
        pickAnalysis(s);
}

void dbgItemKeyPress(TfrmPedidoAna& s, Key& key) {
    const core::RecordSet* base = s.padrao();
    if (column(s) != "VRRESPINSAUD" || !base || !editing(*base)) return;
    const auto& g = grid(s);
    try {
        platform::MaxNumber(g.text, 7, 5, key.text, g.selStart, g.selLength);
    } catch (const core::Abort&) {
        key.clear();
    }
}

void dbgItemKeyDown(TfrmPedidoAna& s, Key& key) {
    auto& it = items(s);
    if (it.state() == State::Browse && key.alt && key.is(platform::vk::Prior)) {
        key.clear();
        return;
    }
    if (it.state() == State::Browse && key.alt && key.is(platform::vk::Next)) {
        key.clear();
        s.comps.setFocus("dbgInspecAudit");
        return;
    }
    if (key.ctrl && key.is(platform::vk::Delete) && text(s.cdsAuditoria, "IDSTATUSAUDI") == "3") {
        key.clear();
        return;
    }
    gridInsertDelete(s, it, key);
}

void dbgItemCellClick(TfrmPedidoAna& s, const std::string& field) {
    if (field != "IDPARCIAL") return;
    const auto& a = s.cdsAuditoria;
    if (!blank(text(a, "NRSUBLOTE"))) platform::MensErro(s.msgPadrao.Msg("sub_lote_percial"));
    auto& it = items(s);
    if (it.isEmpty() || text(a, "IDSTATUSAUDI") != "2") return;
    ensureEditing(it);
    it.field("IDPARCIAL").setValue(text(it, "IDPARCIAL") == "S" ? "N" : "S");
}

void dtsItemInsAuditStateChange(TfrmPedidoAna& s) {
    if (!s.comps.has("dbgItem") || s.comps.activeControl() != "dbgItem") return;
    const State st = items(s).state();
    if (auto* c = grid(s).column("CDARVINSPEC")) c->button = st == State::Insert;
    state::enable(s.comps, {"dbgInspecAudit", "dbrDesc"}, st == State::Browse);
}

void Mostra_Colunas(TfrmPedidoAna& s) {
    if (auto* c = s.comps.find("dbgItem") ? grid(s).column("IDPARCIAL") : nullptr)
        c->visible = partialAllowed(s, text(s.cdsAuditoria, "IDTPAUDITADO"));
}

void buildItemGrid(TfrmPedidoAna& s) {
    auto& g = building::grid(s.comps, "dbgItem", "tshItemAna", "dtsItemInsAudit", {});
    g.columns = {{"IDOPCACEITIN", "Sit."},
                 {"IDTPRESPINSP", "Tp. Resposta"},
                 {"CDARVINSPEC", "Análise"},
                 {"IDATEITEINSP", "Tipo de Análise"},
                 {"SGUNIDADE", "UN"},
                 {"VRRESPINSAUD", "Resultado"},
                 {"RESULTADO", "Resultado Imensurável"},
                 {"CDRESPINSPEC", "Resposta"},
                 {"DSLIMIINSP", "Limite de Normalidade"},
                 {"CDOPERADOR", "Operador"},
                 {"IDPARCIAL", "Parcial"}};
    for (const char* f : {"IDOPCACEITIN", "IDTPRESPINSP", "IDATEITEINSP", "SGUNIDADE", "DSLIMIINSP"})
        g.column(f)->readOnly = true;
    g.column("VRRESPINSAUD")->alignment = platform::Alignment::Right;
    g.column("RESULTADO")->pickList = {s.msgPadrao.Msg("ind"), s.msgPadrao.Msg("inc")};
    g.column("CDOPERADOR")->button = true;
    for (const auto& [field, width] :
         {std::pair{"IDOPCACEITIN", 40}, std::pair{"IDTPRESPINSP", 90}, std::pair{"CDARVINSPEC", 240},
          std::pair{"IDATEITEINSP", 110}, std::pair{"SGUNIDADE", 60}, std::pair{"VRRESPINSAUD", 110},
          std::pair{"RESULTADO", 160}, std::pair{"CDRESPINSPEC", 180}, std::pair{"DSLIMIINSP", 200},
          std::pair{"CDOPERADOR", 180}, std::pair{"IDPARCIAL", 60}})
        g.column(field)->width = width;
    // Codes show as names once filled.
    for (const auto& [code, name] : {std::pair{"CDARVINSPEC", "NMINSPECAO"}, std::pair{"CDOPERADOR", "NMOPERADOR"},
                                     std::pair{"CDRESPINSPEC", "NMRESPINSPEC"}}) {
        const std::string codeField = code, nameField = name;
        g.column(code)->onDraw = [codeField, nameField](platform::CellDraw& cell) {
            if (!blank(cell.displayText(codeField))) nameInPlace(cell, nameField.c_str());
        };
    }
    g.column("IDOPCACEITIN")->onDraw = situationIcon;
    g.column("IDPARCIAL")->onDraw = [](platform::CellDraw& cell) {
        if (cell.set.isEmpty()) return;
        cell.text.clear();
        cell.image =
            cell.value("IDPARCIAL").isNull() || cell.value("IDPARCIAL").asString() != "S" ? "imgUnCheck" : "imgCheck";
        cell.imageAlignment = platform::Alignment::Center;
    };
    g.editing = false;

    on(g.onEnter, s, dbgItemEnter);
    on(g.onExit, s, dbgItemExit);
    on(g.onColEnter, s, dbgItemColEnter);
    on(g.onColExit, s, dbgItemColExit);
    on(g.onEditButtonClick, s, dbgItemEditButtonClick);
    g.onKeyPress = [&s](Key& key) { dbgItemKeyPress(s, key); };
    g.onKeyDown = [&s](Key& key) { dbgItemKeyDown(s, key); };
    g.onCellClick = [&s](const std::string& field) { dbgItemCellClick(s, field); };
    if (auto* ds = s.comps.dataSource("dtsItemInsAudit"))
        ds->onStateChange.connect([&s](platform::DataSource&) { dtsItemInsAuditStateChange(s); });
}

}  // namespace screen

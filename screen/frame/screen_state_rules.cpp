// The state change of dtsPadrao: which buttons, menu items, boxes and tabs are
// enabled, and the colours of the header's boxes, for the set the toolbar works on,
// the active tab and the current request.
#include <initializer_list>
#include <string>

#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_state.h"
#include "screen/frame/screen_state_util.h"

namespace screen {

namespace {

using namespace state;
using platform::Color;
using State = core::DataSetState;

bool enabledOf(const TfrmPedidoAna& s, const char* name) {
    const auto* c = s.comps.find(name);
    return c && c->enabled;
}

void follow(TfrmPedidoAna& s, const char* item, const char* control) {
    if (auto* m = s.comps.find(item)) m->enabled = enabledOf(s, control);
}

// Columns of the items tab whose ellipsis opens a pick list or the date-time picker.
void showColumnButtons(TfrmPedidoAna& s, bool open) {
    const bool measured = text(s.cdsItemInsAudit, "IDTPRESPINSP") == "VALR";
    if (auto* g = s.comps.find("dbgItem")) {
        if (auto* c = g->column("CDRESPINSPEC")) c->button = open && !measured;
        if (auto* c = g->column("CDOPERADOR")) c->button = open;
    }
    if (auto* g = s.comps.find("dbgInspecAudit")) {
        for (const char* f : {"DTINIRINSAUD", "DTFINRINSAUD"})
            if (auto* c = g->column(f)) c->button = open;
        // The subject's list opens only on an inspection being edited.
        if (auto* c = g->column("CDCOBAIA")) c->button = open && editing(s.cdsInspecAudit);
    }
}

// The list and form tabs: the header's boxes and the tabs follow the request.
void headerTabs(TfrmPedidoAna& s) {
    const auto& a = s.cdsAuditoria;
    const bool inserting = a.state() == State::Insert;
    const bool headerEditing = editing(a);
    const bool listEmpty = a.isEmpty();
    const bool fromOrder = !blank(text(a, "NRORDPROD"));
    const bool product = !blank(text(a, "CDPRODUTO"));

    enable(s.comps, {"dbgItem"}, !s.cdsInspecAudit.isEmpty());
    if (listEmpty && s.comps.activeTab("pgcPadrao") != "tshFolhaDados")
        s.comps.setActiveTab("pgcPadrao", "tshFolhaDados");

    // Filled by the server or from other boxes, never typed.
    enable(s.comps,
           {"lblOperador", "lblNumero", "dbeNmEquipaProd", "lblOP", "dbeNrAuditoria", "dbeOperador", "dbeNmProduto",
            "dbeNmSetor", "dbeNmFornecedor", "dbeOP"},
           false);
    showContentBox(s);
    // What the request is about is fixed once it exists.
    enable(s.comps, {"lblProduto", "dbeProduto", "btpProduto", "lblLote", "dbeLote", "btpLote", "dbeSubLote"},
           inserting);
    enable(s.comps, {"lblProcesso", "dbcProcesso"}, inserting || !product);
    // A production order's request takes its date and hour from the order.
    enable(s.comps, {"lblData", "dbdData", "medHora"}, !fromOrder);
    paint(s.comps, {"dbdData", "medHora"}, fromOrder ? Color::BtnFace : Color::InfoBk);
    if (!inserting) {
        enable(s.comps, {"dbcSit"}, true);
        paint(s.comps, {"dbcSit"}, Color::InfoBk);
        paint(s.comps, {"dbcProcesso"}, product ? Color::BtnFace : Color::Window);
        paint(s.comps, {"dbeProduto", "dbeLote", "dbeSubLote"}, Color::BtnFace);
    } else {
        enable(s.comps, {"dbcSit"}, false);
        paint(s.comps, {"dbcSit"}, Color::BtnFace);
        paint(s.comps, {"dbcProcesso", "dbeProduto"}, Color::InfoBk);
        paint(s.comps, {"dbeLote", "dbeSubLote"}, Color::Window);
    }
    // The filter reloads the list, which would drop a header being edited.
    enable(s.comps, {"sbtFiltro", "mnuFiltrar"}, !headerEditing);
    enable(s.comps, {"tshFormulario"}, !listEmpty || headerEditing);
    enable(s.comps, {"tshFolhaDados"}, !headerEditing);
    enable(s.comps, {"tshItemAna", "tshFormula"}, !headerEditing && !listEmpty);
    const std::string sit = text(a, "IDSTATUSAUDI");
    if (fromOrder || sit == "4" || sit == "5") enable(s.comps, {"sbtAlterar", "sbtExcluir"}, false);
}

void itemsTab(TfrmPedidoAna& s) {
    const bool busy = editing(s.cdsInspecAudit) || editing(s.cdsItemInsAudit);
    enable(s.comps, {"tshFolhaDados", "tshFormulario", "tshFormula"}, !busy);
    // The items of the current inspection show once there is one (its own after-scroll
    // reads them).
    enable(s.comps, {"dbgItem"}, !s.cdsInspecAudit.isEmpty());
    const bool closed = closedSituation(text(s.cdsAuditoria, "IDSTATUSAUDI"));
    if (closed) enable(s.comps, {"sbtExcluir", "sbtAlterar", "sbtIncluir"}, false);
    showColumnButtons(s, !closed);
}

void formulaTab(TfrmPedidoAna& s, bool baseEditing, bool baseEmpty) {
    const bool busy = editing(s.cdsFormulaAna) || editing(s.cdsRecurso);
    enable(s.comps, {"tshFolhaDados", "tshFormulario", "tshItemAna"}, !busy);
    const auto& a = s.cdsAuditoria;
    const std::string sit = text(a, "IDSTATUSAUDI");
    // A production order's samples are taken only while the order runs.
    const bool orderOpen = blank(text(a, "NRORDPROD")) || text(a, "IDSITORDPROD") == "2";
    const bool include = !baseEditing && (sit == "1" || sit == "2") && orderOpen;
    enable(s.comps, {"mnuIncluir", "sbtIncluir"}, include);
    enable(s.comps, {"mnuAlterar", "sbtAlterar"}, include && !baseEmpty);
}

// Release of the analysis: the branch releases separately, the request runs, and a
// finished or in-process product only where its lot is released in stock.
bool releaseAllowed(const TfrmPedidoAna& s) {
    const auto& a = s.cdsAuditoria;
    const auto& p = s.cdsParamMXA;
    if (text(p, "IDUTSEGLIBANA") != "S" || text(a, "IDSTATUSAUDI") != "2") return false;
    const std::string proc = text(a, "IDTPAUDITADO");
    if (proc == "M" || proc == "E") return true;
    return (proc == "A" || proc == "P") && text(p, "IDUTSEGLIBLOTE") == "S" && text(p, "IDLIBLOTEEST") == "1";
}

}  // namespace

void dtsPadraoStateChange(TfrmPedidoAna& s) {
    if (!s.comps.has("sbtIncluir")) return;  // before FormCreate there is no toolbar yet
    // The base's own rules first (print, exit, list grid), then this screen's.
    s.TfrmPadrao::updateToolbar();

    const core::RecordSet* base = s.padrao();
    const State state = base ? base->state() : State::Inactive;
    const bool browsing = state == State::Browse;
    const bool baseEditing = state == State::Edit || state == State::Insert;
    const bool baseEmpty = !base || base->isEmpty();
    s.shownState = {base, baseEmpty};
    const std::string tab = s.comps.activeTab("pgcPadrao");

    enable(s.comps, {"sbtCancelar", "sbtConfirmar"}, baseEditing);
    enable(s.comps, {"sbtIncluir"}, browsing);
    enable(s.comps, {"sbtAlterar", "sbtExcluir", "sbtPesquisar", "sbtVerificar"}, browsing && !baseEmpty);
    enable(s.comps, {"sbtAtualizaEstoque", "mnuAtualizaEstoque"}, browsing && tab == "tshFormula" && inContCheck > 0);
    enable(s.comps, {"sbtLibAna", "mnuLiberaAnalise"}, browsing && !baseEmpty && releaseAllowed(s));
    enable(s.comps, {"sbtReanalise", "sbtGeraTarefa", "nvgPadrao"}, browsing);
    // Switched on again only by another request from an invoice becoming current.
    if (baseEditing) enable(s.comps, {"sbtFatuVenc", "mnuFatuVenc"}, false);

    if (boControle) {
        if (tab == "tshFolhaDados" || tab == "tshFormulario")
            headerTabs(s);
        else if (tab == "tshItemAna")
            itemsTab(s);
        else if (tab == "tshFormula")
            formulaTab(s, baseEditing, baseEmpty);
    }

    follow(s, "mnuFormulario", "tshFormulario");
    follow(s, "mnuItensAna", "tshItemAna");
    follow(s, "mnuFolhaDados", "tshFolhaDados");
    follow(s, "mnuVerificar", "sbtVerificar");
    follow(s, "mnuGerarTarefasProgramadas", "sbtGeraTarefa");
    s.menusFollowButtons();

    // The boxes that stay editable after creation close with the request; the date
    // and hour of a production order's request stay closed whatever its situation.
    const auto& a = s.cdsAuditoria;
    const bool open = !closedSituation(text(a, "IDSTATUSAUDI"));
    enable(s.comps,
           {"lblQtdeAmos", "dbeQtAmos", "lblDtAmostra", "dbdDtAmos", "lblSetor", "dbeSetor", "btpSetor",
            "lblFornecedor", "dbeFornecedor", "btpFornecedor", "lblPrevisao", "dbdDataPrev", "medHoraPrev", "lblDesc",
            "dbeDesc", "lblEquipa", "dbeCdEquipProd", "btpEquipaProd", "lblForn"},
           open);
    const bool dated = open && blank(text(a, "NRORDPROD"));
    enable(s.comps, {"lblData", "dbdData", "medHora"}, dated);
    paint(s.comps, {"dbdData", "medHora"}, dated ? Color::InfoBk : Color::BtnFace);
    enable(s.comps, {"chbAnaCompat"}, a.state() == State::Insert);
}

}  // namespace screen

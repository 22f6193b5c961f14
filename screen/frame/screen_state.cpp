#include "screen/frame/screen_state.h"

#include <string>
#include <vector>

#include "core/format.h"
#include "platform/handler.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"
#include "screen/frame/screen_state_util.h"
#include "screen/inspection/item.h"
#include "screen/request/request_record.h"
#include "screen/request/request_save.h"
#include "screen/side_dialogs.h"

namespace screen {

namespace {

using namespace state;
using building::menuRuns;
using building::onClick;
using State = core::DataSetState;

// A tab chosen from a menu: left and entered as a click on it would, and the tab
// switch runs even when the tab was already showing.
void showTab(TfrmPedidoAna& s, const char* tab) {
    if (s.comps.activeTab("pgcPadrao") != tab) {
        s.comps.selectTab("pgcPadrao", tab);
        return;
    }
    s.pgcPadraoChange();
}

void loadInspections(TfrmPedidoAna& s) {
    const auto& a = s.cdsAuditoria;
    platform::withShowAvi(6, [&] {
        platform::loadFromServer(s.cdsInspecAudit,
                                 s.netPedidoAna.call("GetInspecAudit", {text(a, "CDFILIAL"), text(a, "NRAUDITORIA")}));
    });
}

// A set read for another request than the current one is as good as empty.
bool holdsCurrent(const core::RecordSet& set, const core::RecordSet& request) {
    return !set.isEmpty() && text(set, "CDFILIAL") == text(request, "CDFILIAL") &&
           text(set, "NRAUDITORIA") == text(request, "NRAUDITORIA");
}

// The formula and the resources of the current item's analysis.
void loadFormula(TfrmPedidoAna& s) {
    const auto& a = s.cdsAuditoria;
    auto& items = s.cdsItemInsAudit;
    if (!editing(s.cdsInspecAudit) && !holdsCurrent(s.cdsInspecAudit, a)) loadInspections(s);
    const bool itemsOfInspection =
        holdsCurrent(items, a) && text(items, "NRINSPECAUDI") == text(s.cdsInspecAudit, "NRINSPECAUDI");
    if (!editing(items) && !itemsOfInspection) loadItems(s);
    const std::vector<core::Variant> key{text(a, "CDFILIAL"), text(a, "NRAUDITORIA"), text(items, "CDINSPECAO")};
    auto args = key;
    platform::loadFromServer(s.cdsFormulaAna, s.netPedidoAna.call("getFormulaAuditAna", args));
    args = key;
    platform::loadFromServer(s.cdsRecurso, s.netPedidoAna.call("getRecurAuditAna", args));
}

// The product's version control and the version in force at the request's date, as
// the header's save reads them.
std::string hourText(const core::Field& f) {
    return f.isNull() ? std::string() : core::formatDateTime("hh:nn", f.asDateTime());
}

}  // namespace

void loadItems(TfrmPedidoAna& s) {
    const auto& i = s.cdsInspecAudit;
    platform::loadFromServer(
        s.cdsItemInsAudit,
        s.netPedidoAna.call("GetItemInsAudit", {text(i, "CDFILIAL"), text(i, "NRAUDITORIA"), text(i, "NRINSPECAUDI")}));
}

void showContentBox(TfrmPedidoAna& s) {
    const auto& a = s.cdsAuditoria;
    const std::string sit = text(a, "IDSTATUSAUDI");
    const bool on = !blank(text(a, "CDPRODUTO")) && !blank(text(a, "NRLOTEESTQ")) && (sit == "1" || sit == "2");
    enable(s.comps, {"lblDosagem", "dbeDosagem"}, on);
    if (auto* box = s.comps.find("dbeDosagem"))
        box->color = !on                             ? platform::Color::BtnFace
                     : text(a, "IDTEOROBRIG") == "S" ? platform::Color::InfoBk
                                                     : platform::Color::Window;
}

void showHourBoxes(TfrmPedidoAna& s) {
    const auto& a = s.cdsAuditoria;
    if (auto* c = s.comps.find("medHoraPrev")) c->text = hourText(a.field("HORAPREVFIM"));
    if (auto* c = s.comps.find("medHora")) c->text = hourText(a.field("HORA"));
}

void cdsAuditoriaAfterScroll(TfrmPedidoAna& s) {
    const auto& a = s.cdsAuditoria;
    boPermi = false;  // an authorization never carries over to another request
    enable(s.comps, {"sbtFatuVenc", "mnuFatuVenc"}, !blank(text(a, "NRLANCTONF")));
    showContentBox(s);
    if (boControle) {
        const std::string tab = s.comps.activeTab("pgcPadrao");
        if (tab == "tshItemAna") {
            loadInspections(s);
            if (s.cdsInspecAudit.isEmpty()) s.cdsItemInsAudit.close();
        } else if (tab == "tshFormula") {
            loadFormula(s);
        }
        showHourBoxes(s);
        dtsPadraoStateChange(s);
    }
    if (auto* c = s.comps.find("chbAnaCompat")) c->checked = text(a, "IDCOMPATIBILIDADE") == "S";
    refreshPartialApproval(s);
}

void pgcPadraoChanging(TfrmPedidoAna& s) {
    if (s.comps.activeTab("pgcPadrao") != "tshFormulario") return;
    if (editing(s.cdsAuditoria)) s.cdsAuditoria.post();
}

void TfrmPedidoAna::pgcPadraoChange() {
    TfrmPadrao::pgcPadraoChange();
    const std::string tab = comps.activeTab("pgcPadrao");
    const bool header = tab == "tshFolhaDados" || tab == "tshFormulario";
    enable(comps, {"sbtFiltro", "mnuFiltrar"}, header);
    if (header) {
        setPadrao(&cdsAuditoria);
    } else if (tab == "tshItemAna") {
        setPadrao(&cdsInspecAudit);
        cdsAuditoriaAfterScroll(*this);
        Mostra_Colunas(*this);
        loadVersions(*this);
    } else if (tab == "tshFormula") {
        setPadrao(&cdsFormulaAna);
        inContCheck = 0;
        cdsAuditoriaAfterScroll(*this);
    }
    dtsPadraoStateChange(*this);
    if (auto* m = comps.find("mnuFormulario")) m->checked = tab == "tshFormulario";
    if (auto* m = comps.find("mnuItensAna")) m->checked = tab == "tshItemAna";
}

// Between state changes the toolbar follows what can change without one: a set
// reloaded or emptied in browse.
void TfrmPedidoAna::updateToolbar() {
    const core::RecordSet* base = padrao();
    if (base != shownState.set || (!base || base->isEmpty()) != shownState.empty) dtsPadraoStateChange(*this);
}

void TfrmPedidoAna::sbtImprimirClick() { sideDialogs().CriaRelPedidoAnalise(); }

void dbrDescEnter(TfrmPedidoAna& s) {
    if (auto* base = s.padrao(); base && editing(*base)) return;
    s.setPadrao(&s.cdsDsProd);
    dtsPadraoStateChange(s);
}

void mnuFolhaDadosClick(TfrmPedidoAna& s) { showTab(s, "tshFolhaDados"); }
void mnuFormularioClick(TfrmPedidoAna& s) { showTab(s, "tshFormulario"); }

void mnuItensAnaClick(TfrmPedidoAna& s) {
    if (const auto* base = s.padrao(); !base || base->state() != State::Browse) return;
    showTab(s, "tshItemAna");
}

void sbtFiltroClick(TfrmPedidoAna&) { sideDialogs().CriaFiltroPedido(); }

void sbtGeraTarefaClick(TfrmPedidoAna&) {
    std::vector<std::string> args{"ANA"};
    platform::LoadBPL("LKS52738", args);
    sideDialogs().GetAuditoria();
}

void sbtFatuVencClick(TfrmPedidoAna&) { sideDialogs().CriaInfFatuVenc(); }
void mnuFatuVencClick(TfrmPedidoAna& s) { sbtFatuVencClick(s); }

void connectScreenState(TfrmPedidoAna& s) {
    auto& c = s.comps;
    // dtsPadrao follows the active tab and the box entered; whatever it points at, a
    // change of its set's state recomputes the screen.
    c.addDataSource("dtsPadrao", s.padrao()).onStateChange.connect([&s](platform::DataSource&) {
        dtsPadraoStateChange(s);
    });
    s.cdsAuditoria.afterScroll.connect([&s](core::RecordSet&) { cdsAuditoriaAfterScroll(s); });
    // An empty list has no row to scroll to, but the request shown has changed all the same.
    s.cdsAuditoria.afterOpen.connect([&s](core::RecordSet& set) {
        if (set.isEmpty()) cdsAuditoriaAfterScroll(s);
    });

    auto& pages = c["pgcPadrao"];
    pages.onChanging = [&s] { pgcPadraoChanging(s); };

    onClick(s, "sbtFiltro", sbtFiltroClick);
    onClick(s, "sbtGeraTarefa", sbtGeraTarefaClick);
    onClick(s, "sbtFatuVenc", sbtFatuVencClick);
    menuRuns(s, "mnuFiltrar", "sbtFiltro");
    menuRuns(s, "mnuGerarTarefasProgramadas", "sbtGeraTarefa");
    onClick(s, "mnuFatuVenc", mnuFatuVencClick);
    onClick(s, "mnuFolhaDados", mnuFolhaDadosClick);
    onClick(s, "mnuFormulario", mnuFormularioClick);
    onClick(s, "mnuItensAna", mnuItensAnaClick);
    if (auto* desc = c.find("dbrDesc")) desc->onEnter = [&s] { dbrDescEnter(s); };
    dtsPadraoStateChange(s);
}

}  // namespace screen

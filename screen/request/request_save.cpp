#include "screen/request/request_save.h"

#include "core/error.h"
#include "platform/host.h"
#include "platform/services.h"
#include "screen/conclusion/save_checks.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/protected_changes.h"
#include "screen/frame/screen_building.h"
#include "screen/frame/screen_state.h"
#include "screen/request/header_validation.h"
#include "screen/request/header_validation_util.h"

namespace screen {

using header::blank;
using header::text;

namespace {

// The sets the save's checks read, as their server methods answer.
void declareSaveFields(TfrmPedidoAna& s) {
    using namespace building;
    for (auto* set : {&s.cdsVdVersao, &s.cdsVersao})
        declare(*set,
                {{"CDVERSAO", S, 20, "", true}, {"DTVIGINICIO", D, 0, "", true}, {"DTVIFGFINAL", D, 0, "", true}});
    declare(s.cdsVdInsAudPen, {{"STATUS", S, 1, "", true}});
    declare(s.cdsVdInsAudCon, {{"TOTAL", N, 0, "", true}});
    declare(s.cdsDtAudit, {{"DATACONC", D, 0, "", true}, {"DATAINI", D, 0, "", true}});
}

}  // namespace

void connectRequestSave(TfrmPedidoAna& s) {
    declareSaveFields(s);
    save::addSaveMessages(s);
    declareSaveCheckFields(s);
    auto& a = s.cdsAuditoria;
    a.beforePost.connect([&s](core::RecordSet&) {
        if (!save::postingItself()) cdsAuditoriaBeforePost(s);
    });
    a.afterPost.connect([&s](core::RecordSet&) { cdsAuditoriaAfterPost(s); });
    a.beforeDelete.connect([&s](core::RecordSet&) { cdsAuditoriaBeforeDelete(s); });
    a.afterDelete.connect([&s](core::RecordSet&) { cdsAuditoriaAfterDelete(s); });
    a.afterCancel.connect([&s](core::RecordSet&) { cdsAuditoriaAfterCancel(s); });
    a.beforeEdit.connect([&s](core::RecordSet&) { cdsAuditoriaBeforeEdit(s); });
}

void wireRequestSaveControls(TfrmPedidoAna& s) {
    // The list writes the situation first, then raises its change.
    if (auto* sit = s.comps.find("dbcSit")) sit->onChange = [&s] { dbcSitChange(s); };
}

void cdsAuditoriaBeforeDelete(TfrmPedidoAna& s) {
    const std::string sit = text(s, "IDSTATUSAUDI");
    // A concluded request, or one its production order made, stays.
    if (sit == "4" || sit == "5" || !blank(text(s, "NRORDPROD"))) throw core::Abort();
    if (!boExistePermExcAna || blank(text(s, "NRLANCTONF"))) return;

    if (refusedProtectedChange(s, "EXCA")) throw core::Abort();
}

void cdsAuditoriaAfterCancel(TfrmPedidoAna& s) {
    auto& a = s.cdsAuditoria;
    a.cancelUpdates();
    if (s.cdsParamMXA.field("IDUTSEGLIBANA").asString() != "S" && s.comps.activeControl() == "dbcProcesso")
        header::focusIfEnabled(s, "dbeProduto");
    dtsPadraoStateChange(s);
    showHourBoxes(s);
    save::setBrandControls(s);
}

void cdsAuditoriaBeforeEdit(TfrmPedidoAna& s) {
    if (boControle && !boLibAna) header::showFormTab(s);
}

namespace {

bool confirmed(TfrmPedidoAna& s, const char* key) {
    return s.msgPadrao.ShowMsg(key, platform::MsgType::Confirmation, platform::MsgButtons::YesNo) ==
           platform::MsgResult::Yes;
}

// On the items and formula tabs the delete goes to the set of the focused control.
core::RecordSet* setOfFocus(TfrmPedidoAna& s) {
    const std::string& focus = s.comps.activeControl();
    if (focus == "dbgInspecAudit" || focus == "dbrDesc") return &s.cdsInspecAudit;
    if (focus == "dbgItem") return &s.cdsItemInsAudit;
    if (focus == "dbgFormula") return &s.cdsFormulaAna;
    if (focus == "dbgRecurso") return &s.cdsRecurso;
    return nullptr;
}

}  // namespace

// Toolbar actions on the header and the sets of the other tabs.
void TfrmPedidoAna::sbtExcluirClick() {
    const std::string tab = comps.activeTab("pgcPadrao");
    core::RecordSet* set = nullptr;
    if (tab == "tshFolhaDados" || tab == "tshFormulario")
        set = &cdsAuditoria;
    else if (tab == "tshItemAna" || tab == "tshFormula")
        set = setOfFocus(*this);
    if (set && set->state() == core::DataSetState::Browse && !set->isEmpty() && confirmed(*this, "Excl")) set->remove();
    dtsPadraoStateChange(*this);
}

void TfrmPedidoAna::sbtAlterarClick() { TfrmPadrao::sbtAlterarClick(); }

void TfrmPedidoAna::sbtIncluirClick() {
    const std::string tab = comps.activeTab("pgcPadrao");
    if (tab != "tshItemAna" && tab != "tshFormula") {
        TfrmPadrao::sbtIncluirClick();
        return;
    }
    // The new row is typed in its grid, on the tab the user is on.
    core::RecordSet* set = padrao();
    if (!set || !set->active() || set->state() != core::DataSetState::Browse) return;
    set->append();
    dtsPadraoStateChange(*this);
}

void TfrmPedidoAna::sbtCancelarClick() {
    core::RecordSet* set = padrao();
    if (!set || (set->state() != core::DataSetState::Edit && set->state() != core::DataSetState::Insert)) return;
    if (!confirmed(*this, "Canc")) return;
    set->cancel();
    dtsPadraoStateChange(*this);
    if (comps.activeTab("pgcPadrao") == "tshItemAna") {
        comps.setFocus("tshItemAna");
        if (comps.has("dbgItem")) comps.setFocus("dbgItem");
    }
}

}  // namespace screen

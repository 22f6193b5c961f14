// The inspection's situation from its items, the request's conclusion from its
// inspections, and the refresh of the current tab.
#include "screen/conclusion/conclusion_check.h"

#include <optional>

#include "core/error.h"
#include "platform/handler.h"
#include "platform/netconnection.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"
#include "screen/frame/screen_state.h"
#include "screen/frame/screen_state_util.h"
#include "screen/inspection/inspection.h"
#include "screen/side_dialogs.h"

namespace screen {

namespace {

using state::text;

std::vector<core::Variant> inspectionKey(const TfrmPedidoAna& s) {
    const auto& i = s.cdsInspecAudit;
    return {text(i, "CDFILIAL"), text(i, "NRAUDITORIA"), text(i, "NRINSPECAUDI")};
}

}  // namespace

std::vector<core::Variant> requestKey(const TfrmPedidoAna& s) {
    const auto& a = s.cdsAuditoria;
    return {text(a, "CDFILIAL"), text(a, "NRAUDITORIA")};
}

void setRequestSituation(TfrmPedidoAna& s, const std::string& situation, bool clearEnd) {
    auto& a = s.cdsAuditoria;
    postBySystem(a, [&] {
        a.field("IDSTATUSAUDI").setValue(situation);
        if (clearEnd) {
            a.field("DTFINREALAUD").clear();
            a.field("QTHRAUDIT").clear();
        }
    });
}

void concludeRequest(TfrmPedidoAna& s, const std::string& status, bool bySystem) {
    auto& a = s.cdsAuditoria;
    s.boAprovacao = false;
    std::optional<SystemUpdate> system;
    if (bySystem) {
        setRequestSituation(s, status, false);
        system.emplace();
    } else {
        a.edit();
        a.field("IDSTATUSAUDI").setValue(status);
        a.post();
    }
    // The save opened the partial approval when the items asked for it; a confirmed
    // one left only the approved part in the lot.
    updateConcludedLot(s, status, s.boAprovacao && s.vrReprovada > 0);
}

void SitConc(TfrmPedidoAna& s) {
    s.load(s.cdsContador, "GetContador", inspectionKey(s));
    inTotal = static_cast<int>(s.cdsContador.field("CONTADOR").asInteger());
    auto& items = s.cdsPesqItemInsAudit;
    s.load(items, "GetPesqItemInsAudit", inspectionKey(s));
    int accepted = 0, rejected = 0, pending = 0;
    for (int row = 0; row < items.recordCount(); ++row) {
        const std::string v = items.valueAt(row, "IDOPCACEITIN").asString();
        if (v == "N")
            ++rejected;
        else if (v == "S")
            ++accepted;
        else if (v == "P")
            ++pending;
    }
    if (items.isEmpty() || pending > 0) {
        focusColumn(s, "dbgInspecAudit", "DTFINRINSAUD");
        platform::MensErro(s.msgPadrao.Msg("Ana_nConc"));
    }
    std::string situation;
    if (accepted == inTotal) situation = "S";
    if (rejected > 0) situation = "N";
    s.cdsInspecAudit.field("IDINSPCONC").setValue(situation);
}

void Verifica_Conclusao(TfrmPedidoAna& s) {
    const auto& a = s.cdsAuditoria;
    s.load(s.cdsVdInsAudPen, "GetVdInsAudPen", requestKey(s));
    if (s.cdsVdInsAudPen.isEmpty()) {
        s.load(s.cdsVdInsAudCon, "GetVdInsAudCon", requestKey(s));
        const std::string status = s.cdsVdInsAudCon.isEmpty() ? "4" : "5";
        const auto* release = s.comps.find("sbtLibAna");
        // Where analyses are released separately, the release concludes the request.
        if (!(release && release->enabled) && text(a, "IDSTATUSAUDI") != status) concludeRequest(s, status, true);
        dtsPadraoStateChange(s);
    }
    if (!s.cdsVdInsAudPen.isEmpty() || s.cdsInspecAudit.isEmpty()) {
        if (text(a, "IDSTATUSAUDI") != "2") setRequestSituation(s, "2", true);
        updateReopenedLot(s);
    }
}

void sbtVerificarClick(TfrmPedidoAna& s) {
    const core::RecordSet* current = s.padrao();
    const auto& a = s.cdsAuditoria;
    platform::withShowAvi(6, [&] {
        if (current == &s.cdsAuditoria) {
            sideDialogs().GetAuditoria();
        } else if (current == &s.cdsFormulaAna) {
            const std::vector<core::Variant> key{text(a, "CDFILIAL"), text(a, "NRAUDITORIA"),
                                                 text(s.cdsItemInsAudit, "CDINSPECAO")};
            platform::loadFromServer(s.cdsFormulaAna, s.netPedidoAna.call("getFormulaAuditAna", std::vector(key)));
            platform::loadFromServer(s.cdsRecurso, s.netPedidoAna.call("getRecurAuditAna", std::vector(key)));
        } else if (s.comps.activeControl() == "dbgInspecAudit") {
            platform::loadFromServer(s.cdsInspecAudit, s.netPedidoAna.call("GetInspecAudit", requestKey(s)));
        } else {
            loadItems(s);
        }
    });
    dtsPadraoStateChange(s);
}

void buildRefreshButton(TfrmPedidoAna& s) {
    auto& c = s.comps;
    auto& b = building::ensure(c, "sbtVerificar", platform::ControlKind::ToolButton, "", "Atualizar");
    b.hint = "Atualizar";
    building::onClick(s, "sbtVerificar", sbtVerificarClick);
    building::ensure(c, "mnuVerificar", platform::ControlKind::MenuItem, c.has("mnuManutencao") ? "mnuManutencao" : "",
                     "A&tualizar");
    building::menuRuns(s, "mnuVerificar", "sbtVerificar");
}

}  // namespace screen

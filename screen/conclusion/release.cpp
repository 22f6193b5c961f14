// The release of an analysis, the product's description and the entry points to the
// partial approval and the re-analysis.
#include "screen/conclusion/release.h"

#include <string>
#include <vector>

#include "core/error.h"
#include "platform/handler.h"
#include "platform/netconnection.h"
#include "platform/services.h"
#include "screen/conclusion/conclusion_check.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/protected_changes.h"
#include "screen/frame/screen_building.h"
#include "screen/frame/screen_state.h"
#include "screen/frame/screen_state_util.h"
#include "screen/side_dialogs.h"

namespace screen {

namespace {

using state::text;

void addReleaseMessages(TfrmPedidoAna& s) {
    auto& m = s.msgPadrao;
    m.add("Item_Pend", "Análise possui itens pendentes.");
    m.add("Ana_n_Ok", "Análise possui itens reprovados. Análise será finalizada como 'Não Ok'. Deseja continuar?");
}

void releaseByItems(TfrmPedidoAna& s) {
    const core::Variant answer = s.netPedidoAna.call("GetStatusItens", requestKey(s));
    platform::CheckResultServ(answer);
    const std::string items = answer.value.isNull() ? std::string() : answer.value.asString();
    if (state::blank(items)) {
        s.msgPadrao.ShowMsg("Item_Pend", platform::MsgType::Information, platform::MsgButtons::Ok);
    } else if (items == "1" || items == "2") {
        platform::MensErro(s.msgPadrao.Msg("Item_Pend"));
    } else if (items == "5") {
        if (s.msgPadrao.ShowMsg("Ana_n_Ok", platform::MsgType::Confirmation, platform::MsgButtons::YesNo) ==
            platform::MsgResult::Yes)
            concludeRequest(s, "5", false);
    } else {
        concludeRequest(s, "4", false);
    }
}

}  // namespace

void sbtLibAnaClick(TfrmPedidoAna& s) {
    if (!platform::Autorizacao(platform::Operador(), "CANA")) return;
    try {
        authorizeOrCancel(s, "", "CANA");
        boPermi = true;
        std::string releasedBy = sideDialogs().authorizingOperator();
        if (!releasedBy.empty()) {
            const auto& a = s.cdsAuditoria;
            std::vector<core::Variant> args{releasedBy, text(a, "CDFILIAL"), text(a, "NRAUDITORIA")};
            platform::withShowAvi(6, [&] { platform::CheckResultServ(s.netPedidoAna.call("SetOperLibAud", args)); });
        }
        boLibAna = true;
        boControle = true;
        releaseByItems(s);
    } catch (...) {
        boLibAna = false;
        boControle = true;
        throw;
    }
    boLibAna = false;
    dtsPadraoStateChange(s);
}

void btnFechaParcClick(TfrmPedidoAna& s) {
    s.boAprovacao = false;
    sideDialogs().CriaAprovaParc();
}

void sbtReanaliseClick(TfrmPedidoAna& s) {
    sideDialogs().CriaReanalise();
    sbtVerificarClick(s);
}

void cdsDsProdBeforeEdit(TfrmPedidoAna& s) {
    const std::string status = text(s.cdsAuditoria, "IDSTATUSAUDI");
    if (status != "1" && status != "2") throw core::Abort();
}

void cdsDsProdAfterPost(TfrmPedidoAna& s) {
    auto& desc = s.cdsDsProd;
    const std::string typed = desc.field("DSINSPROD").asString();
    std::string operation = typed.empty() ? "D" : "I";
    if (operation == "D" && s.cdsItemInsAudit.isEmpty()) return;
    if (desc.changeCount() == 0) return;
    const auto& a = s.cdsAuditoria;
    const auto& it = s.cdsItemInsAudit;
    std::vector<core::Variant> args{text(it, "CDFILIAL"),
                                    text(it, "NRAUDITORIA"),
                                    text(a, "CDPRODUTO"),
                                    text(it, "CDINSPECAO"),
                                    text(a, "IDTPAUDITADO"),
                                    operation,
                                    typed};
    try {
        platform::withShowAvi(6, [&] { platform::CheckResultServ(s.netPedidoAna.call("SetDsProd", args)); });
    } catch (...) {
        desc.cancelUpdates();
        throw;
    }
    desc.mergeChangeLog();
}

void cdsDsProdAfterCancel(TfrmPedidoAna& s) { s.cdsDsProd.cancelUpdates(); }

void connectRelease(TfrmPedidoAna& s) {
    using building::menuRuns;
    using building::onClick;
    addReleaseMessages(s);
    onClick(s, "sbtLibAna", sbtLibAnaClick);
    onClick(s, "btnFechaParc", btnFechaParcClick);
    onClick(s, "sbtReanalise", sbtReanaliseClick);
    menuRuns(s, "mnuLiberaAnalise", "sbtLibAna");
    auto& d = s.cdsDsProd;
    d.beforeInsert.connect([&s](core::RecordSet&) { cdsDsProdBeforeEdit(s); });
    d.beforeEdit.connect([&s](core::RecordSet&) { cdsDsProdBeforeEdit(s); });
    d.afterPost.connect([&s](core::RecordSet&) { cdsDsProdAfterPost(s); });
    d.afterCancel.connect([&s](core::RecordSet&) { cdsDsProdAfterCancel(s); });
}

}  // namespace screen

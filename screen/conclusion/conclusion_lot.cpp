// The request's lot (or the lots made from its product) following the request's
// conclusion and reopening.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/netconnection.h"
#include "platform/services.h"
#include "screen/conclusion/conclusion_check.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_state_util.h"

namespace screen {

namespace {

using state::blank;
using state::text;

// Each unit of a product's NRDIASVALANA is 30 days of analysis validity.
double validityDays(const core::Field& units) {
    return units.isNull() ? 0.0 : static_cast<double>(static_cast<int64_t>(units.asFloat())) * 30;
}

// Records the lot's situation and validity on the server; stIdent comes back.
void upLote(TfrmPedidoAna& s, core::Variant when, const std::string& situation, const std::string& product) {
    const auto& a = s.cdsAuditoria;
    std::vector<core::Variant> args{
        std::move(when), situation, platform::FiliProc(), text(a, "NRLOTEESTQ"), text(a, "NRSUBLOTE"),
        product,         stIdent};
    platform::CheckResultServ(s.netPedidoAna.call("Up_Lote", args));
    if (args.size() > 6 && !args[6].value.isNull()) stIdent = args[6].value.asString();
}

void loadProduct(TfrmPedidoAna& s) {
    s.load(s.cdsProduto, "GetProduto", {std::to_string(platform::GetTtNiveis(0)), text(s.cdsAuditoria, "CDARVPROD")});
}

// The lot's situation for a request concluded in `status`: released unless an item
// that governs the lot was rejected. A lot split by a partial approval keeps only its
// approved part, which is released whatever the request's status.
std::string concludedSituation(TfrmPedidoAna& s, const std::string& status, bool split) {
    s.load(s.cdsVerifItemAudit, "GetVerifItemAudit", requestKey(s));
    if (s.cdsVerifItemAudit.isEmpty() || split) return "L";
    return status == "5" ? "R" : "L";
}

// The conclusion's validity date: the request's end plus the product's days.
core::Variant concludedValidity(const TfrmPedidoAna& s, const core::Field& units) {
    const auto& end = s.cdsAuditoria.field("DTFINREALAUD");
    return core::DateTime(end.asDateTime().days + validityDays(units));
}

void concludeOwnLot(TfrmPedidoAna& s, const std::string& status, bool split) {
    loadProduct(s);
    const auto when = concludedValidity(s, s.cdsProduto.field("NRDIASVALANA"));
    const std::string situation = concludedSituation(s, status, split);
    stIdent = "1";
    upLote(s, when, situation, text(s.cdsAuditoria, "CDPRODUTO"));
}

}  // namespace

void updateConcludedLot(TfrmPedidoAna& s, const std::string& status, bool split) {
    const auto& a = s.cdsAuditoria;
    if (blank(text(a, "NRLOTEESTQ"))) return;
    if (blank(text(a, "NRORDPROD"))) {
        concludeOwnLot(s, status, split);
        return;
    }
    // A production order's lots wait until every analysis of the order is done.
    const std::vector<core::Variant> order{platform::FiliProc(), text(a, "NRORDPROD"), text(a, "NRSUBORDPROD")};
    s.load(s.cdsAudPenOp, "GetAudPenOp", order);
    if (!s.cdsAudPenOp.isEmpty()) return;
    s.load(s.cdsOrdProd, "GetOrdProd", order);
    if (s.cdsOrdProd.isEmpty()) return;
    auto& made = s.cdsprodEsto;
    s.load(made, "GetProdEsto", {text(a, "CDPRODUTO")});
    if (made.isEmpty()) {
        concludeOwnLot(s, status, split);
        return;
    }
    // The request's items decide the situation of every lot alike: asked once.
    std::optional<std::string> situation;
    for (made.first(); !made.eof(); made.next()) {
        const std::string product = text(made, "CDPRODUTO");
        s.load(s.cdsLote, "GetLote", {platform::FiliProc(), text(a, "NRLOTEESTQ"), text(a, "NRSUBLOTE"), product});
        if (s.cdsLote.isEmpty()) continue;
        const auto when = concludedValidity(s, made.field("NRDIASVALANA"));
        if (!situation) situation = concludedSituation(s, status, split);
        stIdent = "1";
        upLote(s, when, *situation, product);
    }
}

void updateReopenedLot(TfrmPedidoAna& s) {
    const auto& a = s.cdsAuditoria;
    s.load(s.cdsVerifItemAudit, "GetVerifItemAudit", requestKey(s));
    if (blank(text(a, "NRLOTEESTQ")) || !blank(text(a, "NRORDPROD"))) return;
    if (s.cdsVerifItemAudit.isEmpty()) {
        // No item governs the lot: it is released, valid from today.
        loadProduct(s);
        stIdent = "1";
        upLote(s, core::DateTime(platform::DtServ().days + validityDays(s.cdsProduto.field("NRDIASVALANA"))), "L",
               text(a, "CDPRODUTO"));
    } else {
        stIdent = "0";
        upLote(s, a.field("DTFINREALAUD").value(), "A", text(a, "CDPRODUTO"));
    }
}

}  // namespace screen

// The content ("teor") box of the header: open only for a product lot of a request
// still open or being concluded OK, marked as required when the product demands it,
// and the two flags a concluding post turns into refusals.
#include "platform/components.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/request/header_validation.h"
#include "screen/request/header_validation_util.h"

namespace screen {

namespace {

// The situation as stored, before the edit in progress; a new request has none yet
// and counts with the one it is given.
std::string storedSituation(const TfrmPedidoAna& s) {
    const auto& f = s.cdsAuditoria.field("IDSTATUSAUDI");
    const core::Value old = f.oldValue();
    return old.isNull() ? f.asString() : old.asString();
}

}  // namespace

void Vd_Teor(TfrmPedidoAna& s) {
    boVdTeorVazio = false;
    boVdTeorInv = false;

    const auto& a = s.cdsAuditoria;
    const std::string stored = storedSituation(s);
    const bool enabled = !header::blank(header::text(s, "CDPRODUTO")) &&
                         !header::blank(header::text(s, "NRLOTEESTQ")) &&
                         (stored == "1" || stored == "2" || a.field("IDSTATUSAUDI").asString() == "4");

    if (auto* label = s.comps.find("lblDosagem")) label->enabled = enabled;
    auto* box = s.comps.find("dbeDosagem");
    if (box) box->enabled = enabled;

    platform::Color color;
    if (enabled) {
        color = header::text(s, "IDTEOROBRIG") == "S" ? platform::Color::InfoBk : platform::Color::Window;
    } else {
        color = platform::Color::BtnFace;
        header::clearValue(s, "VRAPRPRODAUD");
    }
    if (box) box->color = color;

    if (color == platform::Color::InfoBk && boConcAnalise && editing(s)) {
        const auto& teor = a.field("VRAPRPRODAUD");
        if (header::blank(teor.text()))
            boVdTeorVazio = true;
        else if (teor.asFloat() <= 0.0)
            boVdTeorInv = true;
    }
}

}  // namespace screen

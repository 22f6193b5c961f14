#include "pkg/entry.h"

#include <memory>

#include "pkg/side_dialogs.h"
#include "platform/handler.h"
#include "platform/host.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/side_dialogs.h"

namespace pkg {

namespace {

constexpr int kHourGlass = 0;

// The hourglass while the screen is made; restored however the creation ends.
struct HourGlass {
    HourGlass() { platform::host().waitOn(kHourGlass); }
    ~HourGlass() { platform::host().waitOff(); }
};

}  // namespace

void IniProc(const core::Value& /*Param*/) {
    installModuleDialogs();
    platform::runHandler(CriaPedidoAna);
}

void CriaPedidoAna() {
    using namespace screen;
    {
        HourGlass wait;
        if (!boIdCriado || !frmPedidoAna) {
            freeClosedScreen();
            auto created = std::make_unique<TfrmPedidoAna>();
            created->FormCreate();  // throws: the half-made screen goes with `created`
            frmPedidoAna = created.release();
            boIdCriado = true;
        }
        frmPedidoAna->visible = true;  // window state normal
        platform::host().showScreen(*frmPedidoAna);
        frmPedidoAna->FormActivate();
    }
    sideDialogs().CriaFiltroPedido();
}

}  // namespace pkg

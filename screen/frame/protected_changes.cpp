#include "screen/frame/protected_changes.h"

#include "core/error.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_state_util.h"
#include "screen/side_dialogs.h"

namespace screen {

void authorizeOrCancel(TfrmPedidoAna& s, const std::string& request, const std::string& permission) {
    sideDialogs().CriaContQuali(request, permission);
    if (!ValidaTela) return;
    s.sbtCancelarClick();
    throw core::Abort();
}

bool refusedProtectedChange(TfrmPedidoAna& s, const std::string& permission) {
    const std::string request = state::text(s.cdsAuditoria, "NRAUDITORIA");
    if (s.cdsPermissaoAna.locate({"IDAUTGRUPOP", "CDOPERADOR"},
                                 {core::Value(permission), core::Value(platform::Operador())}, true))
        sideDialogs().CriaJustificativa(request, platform::Operador(), permission);
    else
        sideDialogs().CriaContQuali(request, permission);
    return ValidaTela;
}

}  // namespace screen

#include "screen/frame/pedido_ana.h"

namespace screen {

// Handlers the screen's creation runs before the rules that fill them exist. Each
// moves to its own unit with those rules.
void TfrmPedidoAna::dbgInspecAuditColExit() {}

}  // namespace screen

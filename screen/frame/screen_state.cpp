#include "screen/frame/screen_state.h"

#include "screen/frame/pedido_ana.h"

namespace screen {

void connectScreenState(TfrmPedidoAna&) {}
void dtsPadraoStateChange(TfrmPedidoAna& s) { s.updateToolbar(); }
void cdsAuditoriaAfterScroll(TfrmPedidoAna&) {}
void pgcPadraoChanging(TfrmPedidoAna&) {}
void showHourBoxes(TfrmPedidoAna&) {}

void TfrmPedidoAna::pgcPadraoChange() {}
void TfrmPedidoAna::sbtImprimirClick() {}

}  // namespace screen

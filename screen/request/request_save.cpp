#include "screen/request/request_save.h"

#include "screen/frame/pedido_ana.h"

namespace screen {

void connectRequestSave(TfrmPedidoAna&) {}

void cdsAuditoriaBeforePost(TfrmPedidoAna&) {}
void cdsAuditoriaAfterPost(TfrmPedidoAna&) {}
void cdsAuditoriaBeforeDelete(TfrmPedidoAna&) {}
void cdsAuditoriaAfterDelete(TfrmPedidoAna&) {}
void cdsAuditoriaAfterCancel(TfrmPedidoAna&) {}
void cdsAuditoriaBeforeEdit(TfrmPedidoAna&) {}

// Toolbar actions on the header and the sets of the other tabs.
void TfrmPedidoAna::sbtExcluirClick() { TfrmPadrao::sbtExcluirClick(); }
void TfrmPedidoAna::sbtAlterarClick() { TfrmPadrao::sbtAlterarClick(); }
void TfrmPedidoAna::sbtCancelarClick() { TfrmPadrao::sbtCancelarClick(); }

}  // namespace screen

#pragma once

namespace screen {

class TfrmPedidoAna;

// Saving, deleting, cancelling and editing the request header (cdsAuditoria): the
// header's rules before a post, the server save after it, and the guards of a delete.

// Connects the handlers below to cdsAuditoria; run once, from the screen's constructor.
void connectRequestSave(TfrmPedidoAna& s);

void cdsAuditoriaBeforePost(TfrmPedidoAna& s);
void cdsAuditoriaAfterPost(TfrmPedidoAna& s);
void cdsAuditoriaBeforeDelete(TfrmPedidoAna& s);
void cdsAuditoriaAfterDelete(TfrmPedidoAna& s);
void cdsAuditoriaAfterCancel(TfrmPedidoAna& s);
void cdsAuditoriaBeforeEdit(TfrmPedidoAna& s);

}  // namespace screen

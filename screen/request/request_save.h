#pragma once
#include <exception>
#include <string>

namespace screen {

class TfrmPedidoAna;

// Saving, deleting, cancelling and editing the request header (cdsAuditoria): the
// header's rules before a post, the server save after it, and the guards of a delete.

// Connects the handlers below to cdsAuditoria and adds the save's messages; run once,
// from the screen's constructor.
void connectRequestSave(TfrmPedidoAna& s);
// Wires the header form's situation list to dbcSitChange; run once the header form is built.
void wireRequestSaveControls(TfrmPedidoAna& s);

void cdsAuditoriaBeforePost(TfrmPedidoAna& s);
void cdsAuditoriaAfterPost(TfrmPedidoAna& s);
void cdsAuditoriaBeforeDelete(TfrmPedidoAna& s);
void cdsAuditoriaAfterDelete(TfrmPedidoAna& s);
void cdsAuditoriaAfterCancel(TfrmPedidoAna& s);
void cdsAuditoriaBeforeEdit(TfrmPedidoAna& s);

// Loads cdsVdVersao (the product's versions for the process) and cdsVersao (the one
// in force at the request date, or at the date box's day while that is empty), with
// the wait animation. The save checks them; the items tab reloads them.
void loadVersions(TfrmPedidoAna& s);
// The branch approves items of the process partially (its IDPARC... parameter).
bool partialAllowed(const TfrmPedidoAna& s, const std::string& process);

namespace save {
// The server's refusal of a save (the header's, an inspection's) in the user's words:
// a known code becomes its message; anything else is the server's text as it came.
std::string messageOf(const TfrmPedidoAna& s, const std::string& serverMessage);
// Raises a failed save again in the user's words: a known code as its message, a
// stock irregularity as the server's own message in an information dialog.
[[noreturn]] void raiseSaveError(TfrmPedidoAna& s, std::exception_ptr error);
// True while the save posts the header itself to show the recalculated validity.
bool postingItself();
// The brand label, box and look-up are open exactly while a request is being entered.
void setBrandControls(TfrmPedidoAna& s);
// The save's messages in the screen's table (request_save_messages.cpp).
void addSaveMessages(TfrmPedidoAna& s);
}  // namespace save

}  // namespace screen

#pragma once
#include <string>
#include <vector>

#include "core/variant.h"

namespace screen {

class TfrmPedidoAna;

// The conclusion of an inspection and of its request, and the refresh button.

// The current request's branch and number, as the server's methods take them.
std::vector<core::Variant> requestKey(const TfrmPedidoAna& s);

// The situation of the inspection being saved with a conclusion date: "S" when every
// item is accepted, "N" when one is rejected; refuses the save ("Ana_nConc", focus on
// the conclusion date) while an item is pending or the inspection has none.
void SitConc(TfrmPedidoAna& s);
// After an inspection is saved or deleted: with no inspection pending the request is
// concluded "4" or "5" (unless the release is offered, which concludes it); with one
// pending again, or none left, a concluded request goes back to "2".
void Verifica_Conclusao(TfrmPedidoAna& s);
// The request's situation set by the screen itself (boControle off, so the request's
// save runs as a system update); `clearEnd` also clears its end date and hours. A
// refused save cancels the edit and goes on to the caller.
void setRequestSituation(TfrmPedidoAna& s, const std::string& situation, bool clearEnd);
// Concludes the request in `status` ("4" or "5") through its save, which sends the
// stock move and opens the partial approval where the items ask for it; then the lot
// follows. `bySystem`: the screen's own conclusion (boControle off), otherwise the
// user's release; a refused save leaves the release's edit open.
void concludeRequest(TfrmPedidoAna& s, const std::string& status, bool bySystem);
// The lot of a request just concluded in `status` ("4" or "5"): its situation and
// validity, or those of the lots made from its product under a production order once
// every analysis of the order is done. `split`: a partial approval kept only the
// approved part in the lot.
void updateConcludedLot(TfrmPedidoAna& s, const std::string& status, bool split);
// The lot of a request that is open again: released from today when no item governs
// it, back under analysis otherwise. Requests of a production order leave it alone.
void updateReopenedLot(TfrmPedidoAna& s);
// Reloads what the current tab shows from the server: the request list, the formula
// and resources, the inspections (their grid focused) or the items.
void sbtVerificarClick(TfrmPedidoAna& s);
// Adds the refresh button and its menu item and connects them; run from FormCreate.
void buildRefreshButton(TfrmPedidoAna& s);

}  // namespace screen

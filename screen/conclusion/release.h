#pragma once

namespace screen {

class TfrmPedidoAna;

// The release of an analysis by an authorized operator, the description of the
// analysed product, and the buttons that open the partial approval and the
// re-analysis.

// Concludes the request by hand where the branch releases analyses in a step of
// their own: asks for the CANA authorization, records who released it and posts
// the situation the items imply ("4", or "5" after the user agrees).
void sbtLibAnaClick(TfrmPedidoAna& s);
// Shows the partial approval recorded on the request (view mode).
void btnFechaParcClick(TfrmPedidoAna& s);
// Opens the re-analysis, then reloads what the current tab shows.
void sbtReanaliseClick(TfrmPedidoAna& s);

void cdsDsProdBeforeEdit(TfrmPedidoAna& s);
void cdsDsProdAfterPost(TfrmPedidoAna& s);
void cdsDsProdAfterCancel(TfrmPedidoAna& s);

// Connects the buttons, menu items and the description's events; run from FormCreate.
void connectRelease(TfrmPedidoAna& s);

}  // namespace screen

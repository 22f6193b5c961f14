#pragma once

namespace screen {

class TfrmPedidoAna;

// What follows the current request and the active tab: the reloads when another
// request becomes current, where dtsPadrao points, and which buttons, menu items,
// boxes and tabs are enabled and how they are coloured.

// Connects the handlers below (record sets, data sources, tabs, buttons, menu
// items); run once, from FormCreate, after the layout is built.
void connectScreenState(TfrmPedidoAna& s);

// Recomputes the enabling and colours of the whole screen from dtsPadrao's set,
// the active tab and the current request.
void dtsPadraoStateChange(TfrmPedidoAna& s);
// Another request became current.
void cdsAuditoriaAfterScroll(TfrmPedidoAna& s);
// Leaving the form tab: a header in edit or insert is posted first; a refused post
// throws, and the user stays on the form tab.
void pgcPadraoChanging(TfrmPedidoAna& s);
// The request hour boxes show the current request's HORA and HORAPREVFIM as
// "hh:nn" (the planned one empty when there is none).
void showHourBoxes(TfrmPedidoAna& s);

}  // namespace screen

#pragma once

namespace screen {

class TfrmPedidoAna;

// What follows the current request and the active tab: the reloads when another
// request becomes current, where dtsPadrao points, and which buttons, menu items,
// boxes and tabs are enabled and how they are coloured.

// Connects the handlers below (record sets, data sources, tabs, buttons, menu
// items); run once, from FormCreate, after the layout and the header are built.
void connectScreenState(TfrmPedidoAna& s);

// Recomputes the enabling and colours of the whole screen from dtsPadrao's set,
// the active tab and the current request (screen_state_rules.cpp). Runs whenever
// dtsPadrao's set changes state or dtsPadrao is pointed at another set.
void dtsPadraoStateChange(TfrmPedidoAna& s);
// The items of the current inspection, from the server, into cdsItemInsAudit.
void loadItems(TfrmPedidoAna& s);
// Another request became current.
void cdsAuditoriaAfterScroll(TfrmPedidoAna& s);
// Leaving the form tab: a header in edit or insert is posted first; a refused post
// throws, and the user stays on the form tab.
void pgcPadraoChanging(TfrmPedidoAna& s);
// The request hour boxes show the current request's HORA and HORAPREVFIM as
// "hh:nn" (empty when there is none).
void showHourBoxes(TfrmPedidoAna& s);
// The content label and box: open for a product lot of a pending or running
// request; the box coloured as required when the product demands a content.
void showContentBox(TfrmPedidoAna& s);

// Entering the product description makes the toolbar work on it.
void dbrDescEnter(TfrmPedidoAna& s);
// The tab menu items pick their tab (leaving the form tab as a click on a tab does)
// and run the tab switch; the items tab only while dtsPadrao's set is browsed.
void mnuFolhaDadosClick(TfrmPedidoAna& s);
void mnuFormularioClick(TfrmPedidoAna& s);
void mnuItensAnaClick(TfrmPedidoAna& s);
// The request filter.
void sbtFiltroClick(TfrmPedidoAna& s);
// Runs the scheduled-task module "LKS52738" for the analyses, then reloads the list
// with the filter's criteria.
void sbtGeraTarefaClick(TfrmPedidoAna& s);
// The supplier invoice's instalments of the current request.
void sbtFatuVencClick(TfrmPedidoAna& s);
void mnuFatuVencClick(TfrmPedidoAna& s);

}  // namespace screen

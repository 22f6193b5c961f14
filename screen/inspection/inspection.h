#pragma once

namespace screen {

class TfrmPedidoAna;

// The inspections of the current request (cdsInspecAudit), the items of the current
// inspection (cdsItemInsAudit) and the product's description (cdsDsProd), with the
// analysis-tree queries their look-ups use.

// Their fields; run once, from the screen's constructor.
void declareInspectionFields(TfrmPedidoAna& s);
// Their data sources and views on the items tab; run from FormCreate, after the frame's layout.
void buildInspectionViews(TfrmPedidoAna& s);

}  // namespace screen

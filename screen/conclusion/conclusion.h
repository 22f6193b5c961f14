#pragma once

namespace screen {

class TfrmPedidoAna;

// The formula (cdsFormulaAna: the samples taken from stock) and the resources
// (cdsRecurso: operators, equipment, skills) of the current analysis, with the
// product look-ups the formula uses.

// Their fields; run once, from the screen's constructor.
void declareConclusionFields(TfrmPedidoAna& s);
// Their data sources and views on the formula tab; run from FormCreate, after the frame's layout.
void buildConclusionViews(TfrmPedidoAna& s);

}  // namespace screen

#pragma once
#include <string>

#include "core/recordset.h"
#include "platform/components.h"
#include "platform/query.h"

namespace screen {

class TfrmPedidoAna;

// The inspections of the current request (cdsInspecAudit), the items of the current
// inspection (cdsItemInsAudit) and the product's description (cdsDsProd), with the
// analysis-tree queries their look-ups use.

// Their fields; run once, from the screen's constructor.
void declareInspectionFields(TfrmPedidoAna& s);
// Their data sources and views on the items tab; run from FormCreate, after the frame's layout.
void buildInspectionViews(TfrmPedidoAna& s);

// --- the inspection record (inspection_record.cpp) ---
// Formats, masks, the type shown as its text, the time spent, the date entry, the
// messages of the inspection rules and the handlers below connected to the set.
// Run once, from the screen's constructor.
void setupInspectionRecord(TfrmPedidoAna& s);

void cdsInspecAuditBeforeInsert(TfrmPedidoAna& s);
void cdsInspecAuditNewRecord(TfrmPedidoAna& s);
void cdsInspecAuditAfterInsert(TfrmPedidoAna& s);
void cdsInspecAuditBeforeEdit(TfrmPedidoAna& s);
void cdsInspecAuditBeforePost(TfrmPedidoAna& s);
void cdsInspecAuditAfterPost(TfrmPedidoAna& s);
void cdsInspecAuditBeforeDelete(TfrmPedidoAna& s);
void cdsInspecAuditAfterDelete(TfrmPedidoAna& s);
void cdsInspecAuditAfterCancel(TfrmPedidoAna& s);
void cdsInspecAuditAfterScroll(TfrmPedidoAna& s);
void cdsInspecAuditCalcFields(TfrmPedidoAna& s);

// The analysis code of the current inspection: of the penultimate level, active,
// and copied with its key and name. `obligatory` refuses an empty code.
void Vd_Inspecao(TfrmPedidoAna& s, bool obligatory);
// The test subject of the current inspection, normalised and available at its start.
void Vd_Cobaia(TfrmPedidoAna& s);
// Who concluded the current inspection: the session's operator while its conclusion
// date is set, nobody otherwise.
void setConcludingOperator(TfrmPedidoAna& s);
// The request is cancelled or concluded: its inspections and items close.
bool closedRequest(const TfrmPedidoAna& s);
// qryVdInspecao opened on one active analysis of the tree, by level and code.
platform::TADOIBQuery& openAnalysis(TfrmPedidoAna& s, int level, const std::string& code);
// Puts the focus on a column of a grid (the host's field FocusControl).
void focusColumn(TfrmPedidoAna& s, const char* grid, const char* field);

// --- what the inspection and item grids share (inspection_grid.cpp) ---
// The code cell shows the name instead, except while the code is being typed.
void nameInPlace(platform::CellDraw& cell, const char* nameField);
// A situation code ("S", "N", "P") drawn as its icon, centred.
void situationIcon(platform::CellDraw& cell);
// The grid's own keys on `set`: Insert starts a new row, Ctrl+Delete removes a browsed
// one once the user confirms. True when the key was one of them (it is swallowed).
bool gridInsertDelete(TfrmPedidoAna& s, core::RecordSet& set, platform::Key& key);

// --- the inspection grid (inspection_grid.cpp) ---
// Columns, pick list, buttons, draw hooks and event handlers of dbgInspecAudit.
void buildInspectionGrid(TfrmPedidoAna& s);
void dbgInspecAuditEnter(TfrmPedidoAna& s);
void dbgInspecAuditColEnter(TfrmPedidoAna& s);
void dbgInspecAuditColExit(TfrmPedidoAna& s);
void dbgInspecAuditEditButtonClick(TfrmPedidoAna& s);
void dbgInspecAuditKeyPress(TfrmPedidoAna& s, platform::Key& key);
void dbgInspecAuditKeyDown(TfrmPedidoAna& s, platform::Key& key);
void dbgInspecAuditDblClick(TfrmPedidoAna& s);
void dtsInspecAuditStateChange(TfrmPedidoAna& s);
// The conclusion's date-time picker on the current inspection, with the "CANA"
// permission unless the branch releases analyses separately.
void pickConclusion(TfrmPedidoAna& s);

}  // namespace screen

#pragma once
#include <string>

#include "platform/components.h"

namespace screen {

class TfrmPedidoAna;

// The request record cdsAuditoria beyond its field list (request_fields.h):
// formats and masks, the situation and process codes shown and typed as their
// texts, the time spent as hours and minutes, the supplier's tax number masked by
// person type, the caption line dbtNome, the new-request defaults and the insert
// and open events. Run once, from the screen's constructor.
void setupRequestRecord(TfrmPedidoAna& s);

// The header form grbFormulario of the form tab, added to the component model.
// Run from FormCreate, after the frame's layout.
void buildRequestHeader(TfrmPedidoAna& s);

// The status image the request list paints for a situation code; empty for none.
std::string situationImage(const std::string& code);
// The list's situation cell: its image at the left edge, no text.
void dbgPadraoDrawColumnCell(platform::CellDraw& cell);

// Handlers of cdsAuditoria set by setupRequestRecord.
void cdsAuditoriaBeforeInsert(TfrmPedidoAna& s);
void cdsAuditoriaNewRecord(TfrmPedidoAna& s);
void cdsAuditoriaAfterInsert(TfrmPedidoAna& s);
void cdsAuditoriaAfterOpen(TfrmPedidoAna& s);
void cdsAuditoriaCalcFields(TfrmPedidoAna& s);

// Reloads cdsExisteParcial for the current request and enables the partial
// approval button exactly when the request has partial items.
void refreshPartialApproval(TfrmPedidoAna& s);

// The code whose message text is exactly `text` among `codes`, or empty.
std::string codeOfText(const TfrmPedidoAna& s, const std::string& text, const char* const* codes, int count);

}  // namespace screen

#pragma once

namespace screen {

class TfrmPedidoAna;

// Declares cdsAuditoria's fields from the request's declaration (records/request_record.h),
// in its order, the calculated caption dbtNome included, and the fields of the header's
// look-up sets. Run once, by the screen's constructor, before setupRequestRecord.
void declareRequestFields(TfrmPedidoAna& s);

}  // namespace screen

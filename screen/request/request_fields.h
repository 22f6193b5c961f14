#pragma once
#include "core/recordset.h"

namespace screen {

// Declares cdsAuditoria's fields from the request's declaration (records/request_record.h),
// in its order, the calculated caption dbtNome included. Run once, by the screen's
// constructor, before setupRequestRecord.
void declareRequestFields(core::RecordSet& cdsAuditoria);

}  // namespace screen

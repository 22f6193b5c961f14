#pragma once
#include "records/record.h"

namespace records {

// The analysis request (cdsAuditoria over AUDITORIA, alias A). The request keeps
// its own data and the codes of what it refers to; the names and texts of those
// (product, operator, sector, supplier, equipment, order situation, brand,
// justification, the kind's text) are read through joins, so a renamed product
// shows its new name.
const Record& requestRecord();

}  // namespace records

#pragma once
#include "core/recordset.h"
#include "records/record.h"

namespace records {

// Declares a closed record set's fields from a record: in order, with type, size,
// label, list visibility and key; calculated fields as calculated.
void declareSet(core::RecordSet& set, const Record& record);

}  // namespace records

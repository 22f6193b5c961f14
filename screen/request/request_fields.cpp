#include "screen/request/request_fields.h"

#include "records/record_set.h"
#include "records/request_record.h"

namespace screen {

void declareRequestFields(core::RecordSet& cdsAuditoria) {
    records::declareSet(cdsAuditoria, records::requestRecord());
}

}  // namespace screen

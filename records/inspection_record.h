#pragma once
#include "records/record.h"

namespace records {

// An inspection of a request (cdsInspecAudit over INSPECAUDIT, alias N). It keeps
// the codes of its analysis, concluding operator and test subject; their tree code
// and names are read through joins.
const Record& inspectionRecord();

}  // namespace records

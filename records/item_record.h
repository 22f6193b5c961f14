#pragma once
#include "records/record.h"

namespace records {

// An item of an inspection (cdsItemInsAudit over ITEMINSAUDIT, alias M): a last-level
// analysis with its answer. It keeps the codes of its analysis, operator and
// response with the verdict it got; the analysis' tree code, name, response type
// and unit and the operator's name are read through joins.
const Record& itemRecord();

}  // namespace records

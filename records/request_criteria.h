#pragma once
#include "records/criteria.h"

namespace records {

// The eighteen criteria of GetAuditoria, the request list: pairs of a value and its
// "all" marker, the situations, the product range, the period, the branch and the
// kinds of analysis.
const Criteria& requestCriteria();

}  // namespace records

#pragma once
#include <soci/soci.h>

#include <string>

#include "core/datetime.h"

namespace appserver {

// How long an analysis of a product holds: from the given date's day, 30 days per
// whole unit of PRODUTO.NRDIASVALANA (none when it is null or the product unknown).
// The validity check and the request's save both ask this, so they never disagree.
core::DateTime analysisValidity(soci::session& db, const std::string& product, core::DateTime from);

// The validity as the request keeps it in DTVALANA: "dd/mm/yyyy".
std::string validityText(core::DateTime validity);

}  // namespace appserver

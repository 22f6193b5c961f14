#pragma once
#include <soci/soci.h>

#include <string>

#include "appserver/method_table.h"
#include "core/packet.h"

// What the request's save and its read-only checks both need to know of a request.
namespace appserver {

// Condition on INSPECAUDIT rows (no alias) for an inspection not yet concluded: only
// "S" (OK) and "N" (not OK) conclude one; "P", blank or null are still open.
inline constexpr const char* kInspectionOpen = "COALESCE(IDINSPCONC, 'P') NOT IN ('S', 'N')";

// Inspections of the request, and those of them still open.
int inspectionCount(soci::session& db, const std::string& branch, const std::string& request);
int openInspectionCount(soci::session& db, const std::string& branch, const std::string& request);

// Refuses a change under a request that does not exist, or is cancelled
// ("P_SIT_CANCELADA"): nothing of a cancelled request changes.
void checkRequestOpen(soci::session& db, const std::string& branch, const std::string& request);

// The items of one inspection as the item record (records/item_record.cpp), in the
// order of their analyses' tree codes.
core::Packet inspectionItems(Call& c, const std::string& branch, const std::string& request,
                             const std::string& inspection);

}  // namespace appserver

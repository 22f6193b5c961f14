#pragma once
#include <soci/soci.h>

#include <string>

#include "appserver/sql.h"
#include "records/record.h"

namespace appserver {

// "SELECT <fields> FROM <table> <alias> <joins>" of a declared record: stored fields
// as <alias>.<name>, looked-up ones through their expressions, with the joins those
// name (each once, in the declaration's order); calculated fields are left out.
std::string recordSelect(const records::Record& record);

// The record's rows as a packet of its fields: recordSelect, then " WHERE <where>"
// (when given) and " ORDER BY <orderBy>" (when given), with `params` bound.
core::Packet queryRecord(soci::session& db, const records::Record& record, const std::string& where,
                         const std::string& orderBy, Params params = {});
// queryRecord for a method's answer as it stands (answerPacket).
core::Variant answerRecord(soci::session& db, const records::Record& record, const std::string& where,
                           const std::string& orderBy, Params params = {});

}  // namespace appserver

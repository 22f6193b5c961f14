#pragma once
#include <string>
#include <vector>

#include <soci/soci.h>

#include "appserver/catalog.h"
#include "core/packet.h"
#include "records/record.h"

namespace appserver {

struct DeltaOptions {
    // Fields of the client's record set that are not columns of the table (lookup
    // names, calculated captions): left out instead of refused.
    std::vector<std::string> skipFields;
};

// Applies a packet's change log to `table`, in the caller's transaction, change by
// change. Every field must be a column of the table, texts must fit their column
// and dates the calendar. A modify or delete applies only where the row still
// holds the old values of the key fields and of the fields it changes; when it
// finds no such row it throws core::Error(kRowChanged) so that the caller's
// transaction rolls back and nothing of the call is written. Answers the number
// of changes applied.
int applyDelta(soci::session& db, Catalog& catalog, const std::string& table, const core::Packet& packet,
               const DeltaOptions& options = {});

// The same for a declared record, into its table: looked-up and calculated fields
// are left out, and the rows are found by the declaration's key, whatever key the
// packet claims (each key field must be in the packet).
int applyDelta(soci::session& db, Catalog& catalog, const records::Record& record, const core::Packet& packet);

// The values that name a change's row (the new ones of an insert, the old ones
// otherwise), once the change is checked to carry one value per field of the packet;
// throws core::Error otherwise.
const std::vector<core::Value>& changedRow(const core::Packet& packet, const core::Change& change);

}  // namespace appserver

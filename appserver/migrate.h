#pragma once
#include <soci/soci.h>

#include "appserver/database.h"

namespace appserver {

// Brings the schema up to date: applies, in version order, every migration newer
// than the highest one recorded in SCHEMA_VERSION, each in its own transaction
// together with its SCHEMA_VERSION row. Answers how many were applied. Throws when
// a statement fails (that migration is rolled back; earlier ones stay).
int migrate(soci::session& db, const Dialect& dialect);

// The highest applied version (0 for an empty database).
int schemaVersion(soci::session& db, const Dialect& dialect);

}  // namespace appserver

#pragma once
#include <soci/soci.h>

#include "appserver/dialect/dialect.h"

namespace appserver {

// Seeds the demo factory on an empty, migrated database, inside the caller's
// transaction: two branches, operators and permissions, products, the analysis
// tree and its responses, lots and stock, orders, invoices and about thirty
// requests covering every situation and process type. Dates are relative to today,
// so overdue instalments stay overdue whenever the demo is seeded.
void seedDemo(soci::session& db);

// seedDemo in a transaction of its own when the migrated database holds no request
// yet, so a demo started again keeps what was recorded in it.
void seedDemoWhenEmpty(soci::session& db, const Dialect& dialect);

// Adds `count` plain pending requests to branch "0001", numbered after the last
// one there, in bulk inserts (load tests use 100,000). Needs seedDemo first, for
// the products, sectors and operators they refer to.
void seedBulkRequests(soci::session& db, int count);

}  // namespace appserver

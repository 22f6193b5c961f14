#pragma once
#include "appserver/schema/migrations.h"

// One function per schema step; migrations.cpp lists them in order.
namespace appserver::schema {

Migration framePeopleMigration();  // 1: branches, parameters, operators, groups, numbering
Migration requestsMigration();     // 2: products, analysis tree and catalogue, requests
Migration stockMigration();        // 3: stores, lots, stock, formula, resources
Migration dialogsMigration();      // 4: justifications, invoices, saved filters
Migration justificationTrailMigration();  // 5: origin of justification trail rows
Migration requestOwnedMigration();        // 6: requests drop the names they copied
Migration plansMigration();               // 7: analysis plans of the scheduled tasks
Migration sessionsMigration();            // 8: login sessions, password failures
Migration inspectionOwnedMigration();     // 9: inspections drop the names they copied

}  // namespace appserver::schema

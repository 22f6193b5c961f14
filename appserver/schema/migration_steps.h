#pragma once
#include <string>

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
Migration itemOwnedMigration();           // 10: items drop the names and texts they copied
Migration partialSubLotMigration();       // 11: origin of partial approval sub-lots

// Before a table drops a name it copied from another: a row whose only record of what
// it refers to is that copy gets the code back from the source table (unchanged when
// nothing matches). UPDATE <table> SET <code> from <source>.<sourceCode> where
// <source>.<sourceText> equals the copy.
std::string codeFromCopy(const char* table, const char* code, const char* copy, const char* source,
                         const char* sourceCode, const char* sourceText);

}  // namespace appserver::schema

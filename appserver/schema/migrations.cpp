#include "appserver/schema/migrations.h"

#include "appserver/schema/migration_steps.h"

namespace appserver {

namespace schema {

std::string codeFromCopy(const char* table, const char* code, const char* copy, const char* source,
                         const char* sourceCode, const char* sourceText) {
    const std::string t = table;
    return "UPDATE " + t + " SET " + code + " = COALESCE((SELECT MIN(T." + sourceCode + ") FROM " + source +
           " T WHERE T." + sourceText + " = " + t + "." + copy + "), " + code + ") WHERE (" + code + " IS NULL OR " +
           code + " = '') AND " + copy + " IS NOT NULL AND " + copy + " <> ''";
}

}  // namespace schema

const std::vector<Migration>& migrations() {
    static const std::vector<Migration> all = {
        schema::framePeopleMigration(), schema::requestsMigration(),           schema::stockMigration(),
        schema::dialogsMigration(),     schema::justificationTrailMigration(), schema::requestOwnedMigration(),
        schema::plansMigration(),       schema::sessionsMigration(),           schema::inspectionOwnedMigration(),
        schema::itemOwnedMigration(),   schema::partialSubLotMigration(),
    };
    return all;
}

}  // namespace appserver

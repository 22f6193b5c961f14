#include <string>

#include "appserver/schema/migration_steps.h"

namespace appserver::schema {

namespace {

// An inspection whose only record of whom it refers to is the copied name gets the
// code back from the source table before the copy goes (unchanged when nothing matches).
std::string codeFromCopy(const char* code, const char* copy, const char* table, const char* tableCode,
                         const char* tableText) {
    return std::string("UPDATE INSPECAUDIT SET ") + code + " = COALESCE((SELECT MIN(T." + tableCode + ") FROM " +
           table + " T WHERE T." + tableText + " = INSPECAUDIT." + copy + "), " + code + ") WHERE (" + code +
           " IS NULL OR " + code + " = '') AND " + copy + " IS NOT NULL AND " + copy + " <> ''";
}

}  // namespace

// An inspection keeps the codes of its analysis, concluding operator and test
// subject; the tree code and the names it copied went stale when the sources
// changed and are read through joins now (records/inspection_record.cpp).
Migration inspectionOwnedMigration() {
    std::vector<std::string> statements = {
        codeFromCopy("CDOPECONCINS", "NMOPERADOR", "OPERADOR", "CDOPERADOR", "NMOPERADOR"),
        codeFromCopy("CDCOBAIA", "NMCOBAIA", "COBAIA", "CDCOBAIA", "NMCOBAIA"),
    };
    for (const char* column : {"CDARVINSPEC", "NMINSPECAO", "NMOPERADOR", "NMCOBAIA", "DSANALISE"})
        statements.push_back(std::string("ALTER TABLE INSPECAUDIT DROP COLUMN ") + column);
    return {9, "inspections keep only what they own", std::move(statements)};
}

}  // namespace appserver::schema

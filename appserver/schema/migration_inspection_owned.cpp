#include <string>

#include "appserver/schema/migration_steps.h"

namespace appserver::schema {

// An inspection keeps the codes of its analysis, concluding operator and test
// subject; the tree code and the names it copied went stale when the sources
// changed and are read through joins now (records/inspection_record.cpp).
Migration inspectionOwnedMigration() {
    std::vector<std::string> statements = {
        codeFromCopy("INSPECAUDIT", "CDOPECONCINS", "NMOPERADOR", "OPERADOR", "CDOPERADOR", "NMOPERADOR"),
        codeFromCopy("INSPECAUDIT", "CDCOBAIA", "NMCOBAIA", "COBAIA", "CDCOBAIA", "NMCOBAIA"),
    };
    for (const char* column : {"CDARVINSPEC", "NMINSPECAO", "NMOPERADOR", "NMCOBAIA", "DSANALISE"})
        statements.push_back(std::string("ALTER TABLE INSPECAUDIT DROP COLUMN ") + column);
    return {9, "inspections keep only what they own", std::move(statements)};
}

}  // namespace appserver::schema

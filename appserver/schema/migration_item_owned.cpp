#include <string>

#include "appserver/schema/migration_steps.h"

namespace appserver::schema {

// An item keeps the codes of its analysis, operator and immeasurable result; the
// analysis' tree code, name, response type and unit, the operator's name and the
// result's text it copied are read through joins now (records/item_record.cpp).
Migration itemOwnedMigration() {
    std::vector<std::string> statements = {
        codeFromCopy("ITEMINSAUDIT", "CDOPERADOR", "NMOPERADOR", "OPERADOR", "CDOPERADOR", "NMOPERADOR"),
        // The screen stored the code or the text in RESULTADO; the code is what stays.
        "UPDATE ITEMINSAUDIT SET IDRESULTIMENS = CASE WHEN RESULTADO IN ('D', 'Indetectável') THEN 'D' "
        "WHEN RESULTADO IN ('T', 'Incontável') THEN 'T' END "
        "WHERE (IDRESULTIMENS IS NULL OR IDRESULTIMENS = '') AND "
        "RESULTADO IN ('D', 'Indetectável', 'T', 'Incontável')",
    };
    for (const char* column :
         {"NMINSPECAO", "CDARVINSPEC", "IDTPRESPINSP", "NMOPERADOR", "DSANALISE", "SGUNRESPOSTA", "RESULTADO"})
        statements.push_back(std::string("ALTER TABLE ITEMINSAUDIT DROP COLUMN ") + column);
    return {10, "items keep only what they own", std::move(statements)};
}

}  // namespace appserver::schema

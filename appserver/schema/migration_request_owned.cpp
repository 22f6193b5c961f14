#include <string>

#include "appserver/schema/migration_steps.h"

namespace appserver::schema {

namespace {

// A request whose only record of what it refers to is the copied name or text gets
// the code back from the source table before the copy goes (unchanged when nothing matches).
std::string codeFromCopy(const char* code, const char* copy, const char* table, const char* tableCode,
                         const char* tableText) {
    return std::string("UPDATE AUDITORIA SET ") + code + " = COALESCE((SELECT MIN(T." + tableCode + ") FROM " + table +
           " T WHERE T." + tableText + " = AUDITORIA." + copy + "), " + code + ") WHERE (" + code + " IS NULL OR " +
           code + " = '') AND " + copy + " IS NOT NULL AND " + copy + " <> ''";
}

}  // namespace

// The request keeps its own data and the codes of what it refers to. The names and
// texts it copied from products, operators, sectors, suppliers, equipment, orders,
// brands and justifications went stale when the source changed; they are read
// through joins now (records/request_record.cpp), and TIPOANA is the text of IDTIPOANA.
Migration requestOwnedMigration() {
    std::vector<std::string> statements = {
        // Requests that recorded their kind only as its text.
        "UPDATE AUDITORIA SET IDTIPOANA = 'R' WHERE IDTIPOANA = 'A' AND UPPER(TIPOANA) LIKE 'REAN%'",
        "UPDATE AUDITORIA SET IDTIPOANA = 'C' WHERE IDTIPOANA = 'A' AND UPPER(TIPOANA) LIKE 'COMPAT%'",
        codeFromCopy("CDPRODUTO", "CDARVPROD", "PRODUTO", "CDPRODUTO", "CDARVPROD"),
        codeFromCopy("CDPRODANTE", "CDARVPRODANTE", "PRODUTO", "CDPRODUTO", "CDARVPROD"),
        codeFromCopy("CDFORNECED", "NRINSJURFORN", "FORNECEDOR", "CDFORNECED", "NRINSJURFORN"),
        codeFromCopy("CDOPEINCAUDI", "NMOPERADOR", "OPERADOR", "CDOPERADOR", "NMOPERADOR"),
        codeFromCopy("CDSETEXECAUD", "NMSETOR", "SETOR", "CDSETOR", "NMSETOR"),
        codeFromCopy("CDEQUIPPRO", "NMEQUIPPRO", "EQUIPAPROD", "CDEQUIPPRO", "NMEQUIPPRO"),
        codeFromCopy("CDMARCAPROD", "NMMARCA", "MARCA", "CDMARCA", "NMMARCA"),
        codeFromCopy("CDJUSTALTERA", "DSJUSTIFICATIVA", "JUSTIFICATIVA", "CDJUSTIFICATIVA", "DSJUSTIFICATIVA"),
        // The product range of the request list reads the product's own tree code.
        "DROP INDEX IX_AUDITORIA_ARVPROD",
    };
    for (const char* column :
         {"NMEQUIPPRO", "NMOPERADOR", "NMPRODUTO", "CDARVPROD", "SGUNIDADE", "NMSETOR", "NMFANTFORN", "IDSITORDPROD",
          "CDARVPRODANTE", "NMPRODANTE", "NRINSJURFORN", "IDTPIJURFORN", "DSJUSTIFICATIVA", "NMMARCA", "TIPOANA"})
        statements.push_back(std::string("ALTER TABLE AUDITORIA DROP COLUMN ") + column);
    return {6, "requests keep only what they own", std::move(statements)};
}

}  // namespace appserver::schema

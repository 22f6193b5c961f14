#include <string>

#include "appserver/schema/migration_steps.h"

namespace appserver::schema {

// The request keeps its own data and the codes of what it refers to. The names and
// texts it copied from products, operators, sectors, suppliers, equipment, orders,
// brands and justifications went stale when the source changed; they are read
// through joins now (records/request_record.cpp), and TIPOANA is the text of IDTIPOANA.
Migration requestOwnedMigration() {
    std::vector<std::string> statements = {
        // Requests that recorded their kind only as its text.
        "UPDATE AUDITORIA SET IDTIPOANA = 'R' WHERE IDTIPOANA = 'A' AND UPPER(TIPOANA) LIKE 'REAN%'",
        "UPDATE AUDITORIA SET IDTIPOANA = 'C' WHERE IDTIPOANA = 'A' AND UPPER(TIPOANA) LIKE 'COMPAT%'",
        codeFromCopy("AUDITORIA", "CDPRODUTO", "CDARVPROD", "PRODUTO", "CDPRODUTO", "CDARVPROD"),
        codeFromCopy("AUDITORIA", "CDPRODANTE", "CDARVPRODANTE", "PRODUTO", "CDPRODUTO", "CDARVPROD"),
        codeFromCopy("AUDITORIA", "CDFORNECED", "NRINSJURFORN", "FORNECEDOR", "CDFORNECED", "NRINSJURFORN"),
        codeFromCopy("AUDITORIA", "CDOPEINCAUDI", "NMOPERADOR", "OPERADOR", "CDOPERADOR", "NMOPERADOR"),
        codeFromCopy("AUDITORIA", "CDSETEXECAUD", "NMSETOR", "SETOR", "CDSETOR", "NMSETOR"),
        codeFromCopy("AUDITORIA", "CDEQUIPPRO", "NMEQUIPPRO", "EQUIPAPROD", "CDEQUIPPRO", "NMEQUIPPRO"),
        codeFromCopy("AUDITORIA", "CDMARCAPROD", "NMMARCA", "MARCA", "CDMARCA", "NMMARCA"),
        codeFromCopy("AUDITORIA", "CDJUSTALTERA", "DSJUSTIFICATIVA", "JUSTIFICATIVA", "CDJUSTIFICATIVA",
                     "DSJUSTIFICATIVA"),
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

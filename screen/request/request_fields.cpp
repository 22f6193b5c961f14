#include "screen/request/request_fields.h"

#include "records/record_set.h"
#include "records/request_record.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"

namespace screen {

using namespace building;

void declareRequestFields(TfrmPedidoAna& s) {
    records::declareSet(s.cdsAuditoria, records::requestRecord());

    // The header's look-ups, as their server methods answer.
    declare(s.cdsProduto, {{"CDARVPROD", S, 20, "Código", true},
                           {"CDPRODUTO", S, 10, "", false},
                           {"NMPRODUTO", S, 50, "Nome", true},
                           {"NRDIASVALANA", N, 0, "", false},
                           {"IDTEOROBRIG", S, 1, "", false}});
    declare(s.cdsLote, {{"LOTE", S, 24, "", false},
                        {"NRLOTEESTQ", S, 20, "Lote", true},
                        {"NRSUBLOTE", S, 4, "SubLote", true},
                        {"DTVALILOTE", S, 10, "Data de Validade", true},
                        {"NRLOTEFORN", S, 20, "", false},
                        {"DTFABRPROD", D, 0, "", false}});
    declare(s.cdsUltAnalise, {{"CDFILIAL", S, 4, "", true},
                              {"NRAUDITORIA", S, 10, "", true},
                              {"IDTPAUDITADO", S, 1, "", true},
                              {"IDSTATUSAUDI", S, 1, "", true},
                              {"CDPRODUTO", S, 10, "", true},
                              {"NRLOTEESTQ", S, 20, "", true},
                              {"NRSUBLOTE", S, 4, "", true}});

    // The header's look-up lists and checks.
    const std::initializer_list<FieldSpec> lote = {
        {"LOTE", S, 24, "", false},           {"NRLOTEESTQ", S, 20, "Lote", true},
        {"NRSUBLOTE", S, 4, "SubLote", true}, {"DTVALILOTE", D, 0, "Data de Validade", true},
        {"NRLOTEFORN", S, 20, "", false},     {"DTFABRPROD", D, 0, "", false}};
    declare(s.cdsPesqLote, lote);
    declare(s.cdsVdLote, lote);
    s.cdsPesqLote.field("DTVALILOTE").displayFormat = "ddddd";
    declare(s.cdsVdEquipProd, {{"CDEQUIPPRO", S, 10, "", true}, {"NMEQUIPPRO", S, 40, "", true}});
    declare(s.cdsEquipProd, {{"CDEQUIPPRO", S, 10, "Código", true},
                             {"NMEQUIPPRO", S, 40, "Nome", true},
                             {"SGEQUIPPRO", S, 10, "Sigla", true}});
    declare(s.cdsMarcaProd,
            {{"CDMARCA", S, 5, "Código", true}, {"NMMARCA", S, 20, "Nome", true}, {"CDPRODUTO", S, 10, "", false}});
    declare(s.cdsDtIniEtapa, {{"DATAINI", D, 0, "", true}});
}

}  // namespace screen

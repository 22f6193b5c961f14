#include "screen/conclusion/conclusion.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"

namespace screen {

using namespace building;

void declareConclusionFields(TfrmPedidoAna& s) {
    declare(s.cdsContador, {{"CONTADOR", N, 0, "", true}});
    declare(s.cdsPesqItemInsAudit,
            {{"CDINSPECAO", S, 10, "", true}, {"CDRESPINSPEC", S, 5, "", true}, {"IDOPCACEITIN", S, 1, "", true}});
    declare(s.cdsFormulaAna, {{"CDFILIAL", S, 4, "", false},
                              {"NRAUDITORIA", S, 10, "", false},
                              {"NRINSPECAUDI", S, 3, "", false},
                              {"CDARVPROD", S, 20, "Produto", true},
                              {"SGUNIDADE", S, 10, "UN.", true},
                              {"NRLOTEESTQ", S, 20, "Lote", true},
                              {"NRSUBLOTE", S, 4, "Sublote", true},
                              {"DTVALILOTE", D, 0, "Validade", true}});
    declare(s.cdsPesqProd, {{"CDARVPROD", S, 20, "Código", true},
                            {"NMPRODUTO", S, 50, "Nome Produto", true},
                            {"CDPRODUTO", S, 10, "", false}});
    declare(s.cdsCtrlEstqLote, {{"IDCNTRESTOQ", S, 1, "", true}, {"IDUTCTRLLOTE", S, 1, "", true}});

    declare(s.cdsRecurso, {{"NRSEQRECURANA", N, 0, "", false},
                           {"CDFILIAL", S, 4, "", false},
                           {"NRAUDITORIA", S, 10, "", false},
                           {"CDOPERADOR", S, 12, "Operador", true},
                           {"NRORDPROD", S, 10, "", false},
                           {"DTINIRECUR", D, 0, "Data Inicial", true},
                           {"DTFIMRECUR", D, 0, "Data Final", true},
                           {"CDEQUIPPRO", S, 10, "Equipamento", true},
                           {"CDHABILIDADE", S, 3, "Habilidade", true},
                           {"IDTPRECURSO", S, 1, "Tipo Recurso", true}});
}

}  // namespace screen

#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"
#include "screen/inspection/inspection.h"

namespace screen {

using namespace building;

void declareInspectionFields(TfrmPedidoAna& s) {
    declare(s.cdsInspecAudit, {{"CDFILIAL", S, 4, "Filial", true},
                               {"NRAUDITORIA", S, 10, "Nº Auditoria", true},
                               {"NRINSPECAUDI", S, 3, "Nº Análise", true},
                               {"IDTIPOINSAUD", S, 1, "Tipo", true},
                               {"CDOPERADOR", S, 12, "Operador", false},
                               {"CDINSPECAO", S, 10, "Inspeção", true},
                               {"DSINSPECAUDI", S, 60, "Descrição", true},
                               {"IDNOVAAMOSTR", S, 1, "Amostra", true},
                               {"CDARVINSPEC", S, 10, "Análise", true},
                               {"NMINSPECAO", S, 200, "Nome Análise", true},
                               {"DTFINRINSAUD", D, 0, "Dt. Conclusão", true},
                               {"IDINSPCONC", S, 1, "Situação", true},
                               {"DTINIRINSAUD", D, 0, "Dt. Início", true},
                               {"QTHRINSAUD", N, 0, "Tempo Gasto", true},
                               {"CDOPECONCINS", S, 12, "Operador", false},
                               {"NMOPERADOR", S, 40, "Operador", true},
                               {"TXINSPECAUDI", B, 0, "", false},
                               {"CDCOBAIA", S, 10, "", false},
                               {"NMCOBAIA", S, 150, "Cobaia", false},
                               {"CDORDEMAUDIT", S, 3, "Ord", false},
                               {"DSANALISE", S, 100, "", false}});
    key(s.cdsInspecAudit, {"CDFILIAL", "NRAUDITORIA", "NRINSPECAUDI"});

    declare(s.cdsItemInsAudit, {{"CDFILIAL", S, 4, "Filial", false},
                                {"NRAUDITORIA", S, 10, "Nº Auditoria", false},
                                {"NRINSPECAUDI", S, 3, "Nº Análise", false},
                                {"CDINSPECAO", S, 10, "Inspeção", false},
                                {"CDARVINSPEC", S, 10, "Análise", true},
                                {"NMINSPECAO", S, 200, "Nome Análise", true},
                                {"IDOPCACEITIN", S, 1, "Sit.", true},
                                {"CDRESPINSPEC", S, 5, "Resposta", true},
                                {"VRRESPINSAUD", N, 0, "Resultado", true},
                                {"DSLIMIINSP", S, 50, "Limite de Normalidade", true},
                                {"CDOPERADOR", S, 12, "Operador", false},
                                {"NMOPERADOR", S, 40, "Nome Operador", true}});
    key(s.cdsItemInsAudit, {"CDFILIAL", "NRAUDITORIA", "NRINSPECAUDI", "CDINSPECAO"});

    declare(s.cdsDsProd, {{"DSINSPROD", B, 0, "", true}});

    declare(s.qryInspUltNv, {{"CDARVINSPEC", S, 10, "Análise", true}});
    declare(s.qryInspecao, {{"CDARVINSPEC", S, 10, "Análise", true}});
}

}  // namespace screen

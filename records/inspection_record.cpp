#include "records/inspection_record.h"

namespace records {

using namespace types;

const Record& inspectionRecord() {
    static const Record r("cdsInspecAudit", "INSPECAUDIT", "N",
                          {
                              key("CDFILIAL", S, 4, "Filial"),
                              key("NRAUDITORIA", S, 10, "Nº Auditoria"),
                              key("NRINSPECAUDI", S, 3, "Nº Análise"),
                              stored("IDTIPOINSAUD", S, 1, "Tipo", true),
                              stored("CDOPERADOR", S, 12, "Operador"),
                              stored("CDINSPECAO", S, 10, "Inspeção"),
                              stored("DSINSPECAUDI", S, 60, "Descrição", true),
                              stored("IDNOVAAMOSTR", S, 1, "Amostra"),
                              lookedUp("CDARVINSPEC", S, 10, "Análise", "I", "I.CDARVINSPEC", true),
                              lookedUp("NMINSPECAO", S, 200, "Nome Análise", "I", "I.NMINSPECAO"),
                              stored("DTFINRINSAUD", D, 0, "Dt. Conclusão", true),
                              stored("IDINSPCONC", S, 1, "Situação", true),
                              stored("DTINIRINSAUD", D, 0, "Dt. Início", true),
                              stored("QTHRINSAUD", N, 0, "Tempo Gasto"),
                              stored("CDOPECONCINS", S, 12, "Operador"),
                              lookedUp("NMOPERADOR", S, 40, "Operador", "O", "O.NMOPERADOR", true),
                              stored("TXINSPECAUDI", B, 0, ""),
                              stored("CDCOBAIA", S, 10, ""),
                              lookedUp("NMCOBAIA", S, 150, "Cobaia", "C", "C.NMCOBAIA"),
                              stored("CDORDEMAUDIT", S, 3, "Ord"),
                              calculated("TEMPO", S, 10, false),
                              lookedUp("DSANALISE", S, 100, "", "I", "I.NMINSPECAO"),
                          },
                          {
                              {"I", "LEFT JOIN INSPECAO I ON I.CDINSPECAO = N.CDINSPECAO"},
                              {"O", "LEFT JOIN OPERADOR O ON O.CDOPERADOR = N.CDOPECONCINS"},
                              {"C", "LEFT JOIN COBAIA C ON C.CDCOBAIA = N.CDCOBAIA"},
                          });
    return r;
}

}  // namespace records

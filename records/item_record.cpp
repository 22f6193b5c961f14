#include "records/item_record.h"

namespace records {

using namespace types;

const Record& itemRecord() {
    // The response's name, unit and points stay stored: they are the verdict as it
    // was judged, against the product's or the general catalogue of that day.
    static const Record r("cdsItemInsAudit", "ITEMINSAUDIT", "M",
                          {
                              key("CDFILIAL", S, 4, ""),
                              key("NRAUDITORIA", S, 10, ""),
                              key("NRINSPECAUDI", S, 3, ""),
                              key("CDINSPECAO", S, 10, "Análise"),
                              stored("CDOPERADOR", S, 12, "Operador", true),
                              stored("IDOPCACEITIN", S, 1, "Sit.", true),
                              stored("CDRESPINSPEC", S, 5, "Resposta", true),
                              stored("VRRESPINSAUD", N, 0, "Resultado", true),
                              stored("DSLIMIINSP", S, 50, "Limite de Normalidade", true),
                              lookedUp("NMINSPECAO", S, 200, "Nome Análise", "I", "I.NMINSPECAO", true),
                              lookedUp("CDARVINSPEC", S, 10, "Análise", "I", "I.CDARVINSPEC", true),
                              lookedUp("IDTPRESPINSP", S, 4, "Tp. Resposta", "I", "I.IDTPRESPINSP", true),
                              lookedUp("NMOPERADOR", S, 40, "Nome Operador", "O", "O.NMOPERADOR", true),
                              stored("SGUNIDADE", S, 10, "UN"),
                              stored("NMRESPINSPEC", S, 50, ""),
                              stored("VRPONTRESINS", N, 0, ""),
                              stored("IDATEITEINSP", S, 1, "Tipo de Análise"),
                              lookedUp("DSANALISE", S, 100, "", "I", "I.NMINSPECAO"),
                              lookedUp("SGUNRESPOSTA", S, 2, "", "I", "SUBSTR(I.SGUNIDADE, 1, 2)"),
                              stored("IDPARCIAL", S, 1, "Parcial"),
                              // The code of an immeasurable result, shown as its text.
                              lookedUp("RESULTADO", S, 12, "Resultado Imensurável", "", "M.IDRESULTIMENS"),
                              stored("IDRESULTIMENS", S, 1, ""),
                              stored("NMRESPTEXT", S, 50, ""),
                          },
                          {
                              {"I", "LEFT JOIN INSPECAO I ON I.CDINSPECAO = M.CDINSPECAO"},
                              {"O", "LEFT JOIN OPERADOR O ON O.CDOPERADOR = M.CDOPERADOR"},
                          });
    return r;
}

}  // namespace records

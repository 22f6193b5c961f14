#include "records/request_record.h"

namespace records {

using namespace types;

const Record& requestRecord() {
    static const Record r(
        "cdsAuditoria", "AUDITORIA", "A",
        {
            stored("IDSTATUSAUDI", S, 1, "Situação", true),
            stored("DTINCLAUDIT", D, 0, "Dt. Pedido"),
            stored("DTFINPREVAUD", D, 0, "Dt. Previsão"),
            stored("DTFINREALAUD", D, 0, "Dt. Conclusão"),
            stored("NRLOTEESTQ", S, 20, "Lote", true),
            stored("NRSUBLOTE", S, 4, "Sublote", true),
            stored("DATA", D, 0, ""),
            stored("HORA", D, 0, ""),
            stored("DATAPREVFIM", D, 0, ""),
            stored("HORAPREVFIM", D, 0, ""),
            stored("CDPRODUTO", S, 10, "Produto"),
            stored("NRORDPROD", S, 10, "OP"),
            stored("NRSUBORDPROD", S, 1, ""),
            stored("CDEQUIPPRO", S, 10, "Equipamento"),
            stored("OPSUBOP", S, 12, "OP\\Sub-OP", true),
            stored("VRAPRPRODAUD", N, 0, "Teor"),
            stored("CDOPEINCAUDI", S, 12, "Operador"),
            stored("DSREFEAUDIT", S, 60, "Descrição"),
            lookedUp("NMEQUIPPRO", S, 40, "Nome Equipamento", "E", "E.NMEQUIPPRO"),
            key("CDFILIAL", S, 4, "Filial"),
            key("NRAUDITORIA", S, 10, "Nº Pedido"),
            stored("CDSETEXECAUD", S, 4, "Setor"),
            stored("IDORIGAUDIT", S, 3, ""),
            stored("CDFORNECED", S, 21, "Fornecedor"),
            lookedUp("NMOPERADOR", S, 40, "Operador", "O", "O.NMOPERADOR", true),
            lookedUp("NMPRODUTO", S, 50, "Produto", "P", "P.NMPRODUTO", true),
            lookedUp("CDARVPROD", S, 20, "Produto", "P", "P.CDARVPROD"),
            lookedUp("SGUNIDADE", S, 10, "UN.", "P", "P.SGUNIDADE", true),
            lookedUp("NMSETOR", S, 30, "Setor", "S", "S.NMSETOR"),
            lookedUp("NMFANTFORN", S, 40, "", "F", "F.NMFANTFORN"),
            stored("IDTPAUDITADO", S, 1, "Processo", true),
            stored("QTHRAUDIT", N, 0, "Tempo Gasto"),
            stored("IDLIBERAUDIT", S, 1, ""),
            lookedUp("IDSITORDPROD", S, 1, "", "OD", "OD.IDSITORDPROD"),
            stored("CDETAPAPROD", S, 10, ""),
            stored("CDPRODANTE", S, 10, ""),
            stored("NRLOTEFORN", S, 20, ""),
            lookedUp("CDARVPRODANTE", S, 20, "", "PA", "PA.CDARVPROD"),
            lookedUp("NMPRODANTE", S, 50, "", "PA", "PA.NMPRODUTO"),
            stored("DTVALILOTE", D, 0, ""),
            stored("DTFABRPROD", D, 0, ""),
            stored("DTAMOSAUDI", D, 0, ""),
            stored("QTAMOSAUDI", N, 0, "Qtde.Amostra"),
            stored("NRLANCTONF", S, 10, ""),
            lookedUp("NRINSJURFORN", S, 20, "", "F", "F.NRINSJURFORN"),
            lookedUp("IDTPIJURFORN", S, 1, "", "F", "F.IDTPIJURFORN"),
            stored("CDJUSTALTERA", S, 5, ""),
            lookedUp("DSJUSTIFICATIVA", S, 100, "", "J", "J.DSJUSTIFICATIVA"),
            calculated("dbtNome", S, 200, true),
            stored("DTVALANA", S, 10, "Validade"),
            stored("CDMARCAPROD", S, 5, ""),
            lookedUp("NMMARCA", S, 20, "", "M", "M.NMMARCA"),
            // The kind's text; IDTIPOANA is what the request keeps.
            lookedUp("TIPOANA", S, 15, "", "",
                     "CASE A.IDTIPOANA WHEN 'R' THEN 'Reanálise' WHEN 'C' THEN 'Compatibilidade' ELSE 'Análise' END"),
            stored("IDTEOROBRIG", S, 1, ""),
            stored("IDCOMPATIBILIDADE", S, 1, ""),
            stored("QTESTQAPROVA", N, 0, ""),
            stored("QTESTQREPROVA", N, 0, ""),
            stored("NRSUBLOTEPARC", S, 4, ""),
        },
        {
            {"E", "LEFT JOIN EQUIPAPROD E ON E.CDEQUIPPRO = A.CDEQUIPPRO"},
            {"O", "LEFT JOIN OPERADOR O ON O.CDOPERADOR = A.CDOPEINCAUDI"},
            {"P", "LEFT JOIN PRODUTO P ON P.CDPRODUTO = A.CDPRODUTO"},
            {"S", "LEFT JOIN SETOR S ON S.CDSETOR = A.CDSETEXECAUD"},
            {"F", "LEFT JOIN FORNECEDOR F ON F.CDFORNECED = A.CDFORNECED"},
            {"OD",
             "LEFT JOIN ORDEMPROD OD ON OD.CDFILIAL = A.CDFILIAL AND OD.NRORDPROD = A.NRORDPROD "
             "AND OD.NRSUBORDPROD = A.NRSUBORDPROD"},
            {"PA", "LEFT JOIN PRODUTO PA ON PA.CDPRODUTO = A.CDPRODANTE"},
            {"J", "LEFT JOIN JUSTIFICATIVA J ON J.CDJUSTIFICATIVA = A.CDJUSTALTERA"},
            {"M", "LEFT JOIN MARCA M ON M.CDMARCA = A.CDMARCAPROD"},
        });
    return r;
}

}  // namespace records

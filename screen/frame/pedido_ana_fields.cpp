#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"

namespace screen {

using namespace building;

// Fields of the frame's and the request's record sets; the inspections, the formula
// and the resources declare theirs in their own folders. The sets other rules fill
// start with their keys and the fields the screen's creation touches, and grow with them.
void TfrmPedidoAna::declareFields() {
    declare(cdsParamMXA, {{"NRDIAMINQUA", S, 5, "", true},
                          {"IDUTSEGLIBANA", S, 1, "", true},
                          {"IDUTSEGLIBLOTE", S, 1, "", true},
                          {"IDLIBLOTEEST", S, 1, "", true},
                          {"IDPARCACABADO", S, 1, "", true},
                          {"IDPARCPROCESSO", S, 1, "", true},
                          {"IDPARCEMBALAGEM", S, 1, "", true},
                          {"IDPARCMATPRIMA", S, 1, "", true}});
    declare(cdsParamFilial, {{"IDPERMESTNEG", S, 1, "", true}, {"IDUTILLOTE", S, 1, "", true}});
    declare(cdsPermissaoAna, {{"CDGRUPOPER", S, 2, "", true},
                              {"IDAUTGRUPOP", S, 4, "", true},
                              {"NRAUTGRUPOP", S, 3, "", true},
                              {"DSGRUPOPER", S, 30, "", true},
                              {"CDSETOR", S, 4, "", true},
                              {"NMSETOR", S, 30, "", true},
                              {"CDOPERADOR", S, 12, "", true}});

    declare(cdsAuditoria, {{"IDSTATUSAUDI", S, 1, "Situação", true},
                           {"DTINCLAUDIT", D, 0, "Dt. Pedido", false},
                           {"DTFINPREVAUD", D, 0, "Dt. Previsão", false},
                           {"DTFINREALAUD", D, 0, "Dt. Conclusão", false},
                           {"NRLOTEESTQ", S, 20, "Lote", true},
                           {"NRSUBLOTE", S, 4, "Sublote", true},
                           {"DATA", D, 0, "", false},
                           {"HORA", D, 0, "", false},
                           {"DATAPREVFIM", D, 0, "", false},
                           {"HORAPREVFIM", D, 0, "", false},
                           {"CDPRODUTO", S, 10, "Produto", false},
                           {"NRORDPROD", S, 10, "OP", false},
                           {"NRSUBORDPROD", S, 1, "", false},
                           {"CDEQUIPPRO", S, 10, "Equipamento", false},
                           {"OPSUBOP", S, 12, "OP\\Sub-OP", true},
                           {"VRAPRPRODAUD", N, 0, "Teor", false},
                           {"CDOPEINCAUDI", S, 12, "Operador", false},
                           {"DSREFEAUDIT", S, 60, "Descrição", false},
                           {"NMEQUIPPRO", S, 40, "Nome Equipamento", false},
                           {"CDFILIAL", S, 4, "Filial", false},
                           {"NRAUDITORIA", S, 10, "Nº Pedido", false},
                           {"CDSETEXECAUD", S, 4, "Setor", false},
                           {"IDORIGAUDIT", S, 3, "", false},
                           {"CDFORNECED", S, 21, "Fornecedor", false},
                           {"NMOPERADOR", S, 40, "Operador", true},
                           {"NMPRODUTO", S, 50, "Produto", true},
                           {"CDARVPROD", S, 20, "Produto", false},
                           {"SGUNIDADE", S, 10, "UN.", true},
                           {"NMSETOR", S, 30, "Setor", false},
                           {"NMFANTFORN", S, 40, "", false},
                           {"IDTPAUDITADO", S, 1, "Processo", true},
                           {"QTHRAUDIT", N, 0, "Tempo Gasto", false},
                           {"IDLIBERAUDIT", S, 1, "", false},
                           {"IDSITORDPROD", S, 1, "", false},
                           {"CDETAPAPROD", S, 10, "", false},
                           {"CDPRODANTE", S, 10, "", false},
                           {"NRLOTEFORN", S, 20, "", false},
                           {"CDARVPRODANTE", S, 20, "", false},
                           {"NMPRODANTE", S, 50, "", false},
                           {"DTVALILOTE", D, 0, "", false},
                           {"DTFABRPROD", D, 0, "", false},
                           {"DTAMOSAUDI", D, 0, "", false},
                           {"QTAMOSAUDI", N, 0, "Qtde.Amostra", false},
                           {"NRLANCTONF", S, 10, "", false},
                           {"NRINSJURFORN", S, 20, "", false},
                           {"IDTPIJURFORN", S, 1, "", false},
                           {"CDJUSTALTERA", S, 5, "", false},
                           {"DSJUSTIFICATIVA", S, 100, "", false}});
    cdsAuditoria.addCalculated("dbtNome", S, 200).visible = true;
    declare(cdsAuditoria, {{"DTVALANA", S, 10, "Validade", false},
                           {"CDMARCAPROD", S, 5, "", false},
                           {"NMMARCA", S, 20, "", false},
                           {"TIPOANA", S, 15, "", false},
                           {"IDTEOROBRIG", S, 1, "", false},
                           {"IDCOMPATIBILIDADE", S, 1, "", false},
                           {"QTESTQAPROVA", N, 0, "", false},
                           {"QTESTQREPROVA", N, 0, "", false},
                           {"NRSUBLOTEPARC", S, 4, "", false}});
    key(cdsAuditoria, {"CDFILIAL", "NRAUDITORIA"});

    declare(cdsProduto, {{"CDARVPROD", S, 20, "Código", true},
                         {"CDPRODUTO", S, 10, "", false},
                         {"NMPRODUTO", S, 50, "Nome", true},
                         {"NRDIASVALANA", N, 0, "", false},
                         {"IDTEOROBRIG", S, 1, "", false}});
    declare(cdsLote, {{"LOTE", S, 24, "", false},
                      {"NRLOTEESTQ", S, 20, "Lote", true},
                      {"NRSUBLOTE", S, 4, "SubLote", true},
                      {"DTVALILOTE", S, 10, "Data de Validade", true},
                      {"NRLOTEFORN", S, 20, "", false},
                      {"DTFABRPROD", D, 0, "", false}});
    declare(cdsUltAnalise, {{"CDFILIAL", S, 4, "", true},
                            {"NRAUDITORIA", S, 10, "", true},
                            {"IDTPAUDITADO", S, 1, "", true},
                            {"IDSTATUSAUDI", S, 1, "", true},
                            {"CDPRODUTO", S, 10, "", true},
                            {"NRLOTEESTQ", S, 20, "", true},
                            {"NRSUBLOTE", S, 4, "", true}});
}

}  // namespace screen

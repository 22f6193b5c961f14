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

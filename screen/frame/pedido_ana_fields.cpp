#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"

namespace screen {

using namespace building;

// Fields of the parameter and permission sets the screen's creation reads; each
// subject declares its own sets in its folder.
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
}

}  // namespace screen

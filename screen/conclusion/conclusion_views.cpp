#include "screen/conclusion/conclusion.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"

namespace screen {

using building::ensure;
using building::grid;

void buildConclusionViews(TfrmPedidoAna& s) {
    auto& c = s.comps;
    c.addDataSource("dtsFormulaAna", &s.cdsFormulaAna);
    c.addDataSource("dtsRecurso", &s.cdsRecurso);

    ensure(c, "grbAmostras", platform::ControlKind::GroupBox, "tshFormula", "Amostras");
    grid(c, "dbgFormula", "grbAmostras", "dtsFormulaAna",
         {"CDARVPROD", "SGUNIDADE", "NRLOTEESTQ", "NRSUBLOTE", "DTVALILOTE"});
    ensure(c, "grbRecursos", platform::ControlKind::GroupBox, "tshFormula", "Recursos");
    grid(c, "dbgRecurso", "grbRecursos", "dtsRecurso",
         {"IDTPRECURSO", "CDOPERADOR", "CDEQUIPPRO", "CDHABILIDADE", "DTINIRECUR", "DTFIMRECUR"});
}

}  // namespace screen

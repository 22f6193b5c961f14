#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"
#include "screen/inspection/inspection.h"

namespace screen {

using building::ensure;
using building::grid;

void buildInspectionViews(TfrmPedidoAna& s) {
    auto& c = s.comps;
    c.addDataSource("dtsInspecAudit", &s.cdsInspecAudit);
    c.addDataSource("dtsItemInsAudit", &s.cdsItemInsAudit);
    c.addDataSource("dtsDsProd", &s.cdsDsProd);

    buildInspectionGrid(s);
    grid(c, "dbgItem", "tshItemAna", "dtsItemInsAudit",
         {"IDOPCACEITIN", "CDARVINSPEC", "NMINSPECAO", "CDRESPINSPEC", "VRRESPINSAUD", "DSLIMIINSP", "NMOPERADOR"});
    auto& desc = ensure(c, "dbrDesc", platform::ControlKind::Memo, "tshItemAna");
    desc.dataSource = "dtsDsProd";
    desc.dataField = "DSINSPROD";
    desc.readOnly = true;
}

}  // namespace screen

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

    grid(c, "dbgInspecAudit", "tshItemAna", "dtsInspecAudit",
         {"NRINSPECAUDI", "IDTIPOINSAUD", "CDARVINSPEC", "NMINSPECAO", "DSINSPECAUDI", "DTINIRINSAUD", "DTFINRINSAUD",
          "IDINSPCONC", "QTHRINSAUD", "NMOPERADOR"});
    grid(c, "dbgItem", "tshItemAna", "dtsItemInsAudit",
         {"IDOPCACEITIN", "CDARVINSPEC", "NMINSPECAO", "CDRESPINSPEC", "VRRESPINSAUD", "DSLIMIINSP", "NMOPERADOR"});
    auto& desc = ensure(c, "dbrDesc", platform::ControlKind::Memo, "tshItemAna");
    desc.dataSource = "dtsDsProd";
    desc.dataField = "DSINSPROD";
    desc.readOnly = true;
}

// Leaving a column of the inspection grid; the screen's creation runs it once. The
// inspection rules fill it.
void TfrmPedidoAna::dbgInspecAuditColExit() {}

}  // namespace screen

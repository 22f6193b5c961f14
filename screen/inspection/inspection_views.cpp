#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"
#include "screen/inspection/inspection.h"
#include "screen/inspection/item.h"

namespace screen {

using building::ensure;

void buildInspectionViews(TfrmPedidoAna& s) {
    auto& c = s.comps;
    c.addDataSource("dtsInspecAudit", &s.cdsInspecAudit);
    c.addDataSource("dtsItemInsAudit", &s.cdsItemInsAudit);
    c.addDataSource("dtsDsProd", &s.cdsDsProd);

    buildInspectionGrid(s);
    buildItemGrid(s);
    auto& desc = ensure(c, "dbrDesc", platform::ControlKind::Memo, "tshItemAna");
    desc.dataSource = "dtsDsProd";
    desc.dataField = "DSINSPROD";
}

}  // namespace screen

// Inspections of a request, their items and the evaluation of results.
#include "appserver/methods/methods.h"
#include "appserver/numbering.h"
#include "appserver/sql.h"

namespace appserver {

namespace {

using core::FieldType;

// Next inspection number of one request, as a packet for cdsPrxInspecAudit.
core::Variant GetPrxInspecAudit(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    const auto branch = c.text(0), request = c.text(1);
    const auto highest = [&] {
        return c.dialect().highestNumber(c.db(), "INSPECAUDIT", "NRINSPECAUDI",
                                         {{"CDFILIAL", branch}, {"NRAUDITORIA", request}});
    };
    const auto n = nextNumber(c.db(), branch, "INSPECAUDIT:" + request, highest);
    core::Packet p;
    p.fields = {field("NRINSPECAUDI", FieldType::String, 3)};
    p.rows.push_back({zeroPadded(n, 3)});
    return p;
}

}  // namespace

void registerInspectionMethods(MethodTable& t) {
    t.add(kModule, "GetPrxInspecAudit", GetPrxInspecAudit);
}

}  // namespace appserver

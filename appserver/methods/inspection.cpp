// Inspections of a request, their items and the evaluation of results.
#include "appserver/methods/methods.h"
#include "appserver/numbering.h"
#include "appserver/sql.h"

namespace appserver {

namespace {

using core::FieldType;

long long highestInspection(Call& c, const std::string& branch, const std::string& request) {
    if (!tableExists(c.db(), c.backend(), "INSPECAUDIT")) return 0;
    const auto v = queryValue(c.db(), "SELECT MAX(NRINSPECAUDI) FROM INSPECAUDIT WHERE CDFILIAL = :f AND NRAUDITORIA = :a",
                              {branch, request});
    try {
        return v.isNull() ? 0 : std::stoll(v.asString());
    } catch (...) {
        return 0;
    }
}

// Next inspection number of one request, as a packet for cdsPrxInspecAudit.
core::Variant GetPrxInspecAudit(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    const auto branch = c.text(0), request = c.text(1);
    const auto n = nextNumber(c.db(), branch, "INSPECAUDIT:" + request,
                              [&] { return highestInspection(c, branch, request); });
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

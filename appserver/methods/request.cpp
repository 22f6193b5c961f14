// The request header: numbering, reading and saving requests.
#include "appserver/methods/methods.h"
#include "appserver/numbering.h"
#include "appserver/sql.h"

namespace appserver {

namespace {

using core::FieldType;

// Highest request number already in the branch's data (numbers are zero-padded
// text, so the text maximum is the numeric one).
long long highestRequest(Call& c, const std::string& branch) {
    if (!tableExists(c.db(), c.backend(), "AUDITORIA")) return 0;
    const auto v = queryValue(c.db(), "SELECT MAX(NRAUDITORIA) FROM AUDITORIA WHERE CDFILIAL = :f", {branch});
    try {
        return v.isNull() ? 0 : std::stoll(v.asString());
    } catch (...) {
        return 0;
    }
}

core::Variant GetPrxAuditoria(Call& c) {
    c.expect({Arg::Text});
    const auto branch = c.text(0);
    return zeroPadded(nextNumber(c.db(), branch, "AUDITORIA", [&] { return highestRequest(c, branch); }), 10);
}

}  // namespace

void registerRequestMethods(MethodTable& t) {
    t.add(kModule, "GetPrxAuditoria", GetPrxAuditoria);
}

}  // namespace appserver

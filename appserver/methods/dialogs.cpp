// Methods of the side dialogs (filter, report, invoices, authorization,
// justification, approval, re-analysis).
#include "appserver/methods/methods.h"
#include "appserver/sql.h"

namespace appserver {

namespace {

// Each method is one function here, checking its arguments first:
//   core::Variant GetExemplo(Call& c) { c.expect({Arg::Text}); return answerPacket(...); }

}  // namespace

void registerDialogMethods(MethodTable& t) {
    // t.add(kModule, "GetExemplo", GetExemplo, /*readOnly=*/true);
}

}  // namespace appserver

#include "appserver/methods/methods.h"

namespace appserver {

void registerAllMethods(MethodTable& t) {
    registerHostMethods(t);
    registerFrameMethods(t);
    registerRequestMethods(t);
    registerRequestLookupMethods(t);
    registerRequestCheckMethods(t);
    registerRequestSaveMethods(t);
    registerInspectionMethods(t);
    registerItemMethods(t);
    registerConclusionMethods(t);
    registerDialogMethods(t);
    registerPartialApprovalMethods(t);
    registerAuthorizationMethods(t);
    registerScheduledTaskMethods(t);
}

}  // namespace appserver

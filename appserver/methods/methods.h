#pragma once
#include "appserver/method_table.h"

// One registration function per subsystem; each lists its file's methods.
namespace appserver {

void registerHostMethods(MethodTable& t);           // methods/host.cpp: Login, DtServ, Autorizacao
void registerFrameMethods(MethodTable& t);          // methods/frame.cpp: parameters and permissions
void registerRequestMethods(MethodTable& t);        // methods/request.cpp: the request header
void registerRequestLookupMethods(MethodTable& t);  // methods/request_lookup.cpp: the header's lookups
void registerRequestCheckMethods(MethodTable& t);   // methods/request_checks.cpp: what the request's save reads
void registerRequestSaveMethods(MethodTable& t);    // methods/request_save.cpp: SetAuditoria
void registerInspectionMethods(MethodTable& t);     // methods/inspection.cpp: inspections, items, results
void registerItemMethods(MethodTable& t);           // methods/item.cpp: item saves, response catalogue, lot situation
void registerConclusionMethods(MethodTable& t);     // methods/conclusion.cpp: conclusion, release, formula, resources
void registerDialogMethods(MethodTable& t);         // methods/dialogs.cpp: the side dialogs
void registerPartialApprovalMethods(MethodTable& t);  // methods/partial_approval.cpp: what the partial approval reads
void registerAuthorizationMethods(MethodTable& t);  // methods/authorization.cpp: authorization, justification
void registerScheduledTaskMethods(MethodTable& t);  // methods/scheduled_tasks.cpp: requests raised by the analysis plans

}  // namespace appserver

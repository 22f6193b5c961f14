#pragma once
#include <string>
#include <vector>

#include "core/recordset.h"
#include "core/variant.h"
#include "platform/netconnection.h"

namespace dialogs {

// One server call as the dialogs make it: the host's busy animation of `aviKind`
// around it (removed also when the call fails), the result through CheckResultServ.
// By-reference arguments come back written into `args`.
core::Variant callServer(platform::TNetConnection& conn, const std::string& method,
                         std::vector<core::Variant>& args, int aviKind);

// The same, loading the answered data packet into `set`.
void loadServer(platform::TNetConnection& conn, const std::string& method, std::vector<core::Variant>& args,
                int aviKind, core::RecordSet& set);

// Points a dialog's own connection at the session's server and opens it.
void openOwnConnection(platform::TNetConnection& conn);

// The main screen's connection, through which the dialogs write. Raises in the
// system's words when the screen is not there.
platform::TNetConnection& mainConnection();

// Writes the justification `jus` for the request `auditoria` through the main connection:
// SetJustificativa first when `withTrail`, then SetJustificativaAna, both in the session
// operator's name with the permission and the operator who authorized it. `auditoria`
// takes the request each call answers.
void recordJustification(std::string jus, std::string& auditoria, const std::string& permissao,
                         std::string authorizer, bool withTrail);

}  // namespace dialogs

#pragma once
#include <soci/soci.h>

#include <string>

namespace appserver {

// Whether the operator belongs to a group that holds the permission ("CANA", "ALTC",
// ...; compared without case). Implemented beside the host's Autorizacao.
bool holdsPermission(soci::session& db, const std::string& operador, const std::string& permission);

}  // namespace appserver

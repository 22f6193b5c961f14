#pragma once
#include <string>

namespace screen {

class TfrmPedidoAna;

// Changes that need another operator's password for a permission, or the operator's
// own justification when he holds it.

// Opens the authorization for `permission` (on `request`, or on none). Refused, the
// screen's pending edits end as the cancel button ends them (asking the user first)
// and the operation stops silently.
void authorizeOrCancel(TfrmPedidoAna& s, const std::string& request, const std::string& permission);

// A protected change of the current request: an operator who holds `permission`
// gives his justification, anyone else the password of one who holds it. True when
// neither was given.
bool refusedProtectedChange(TfrmPedidoAna& s, const std::string& permission);

}  // namespace screen

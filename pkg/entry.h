#pragma once
#include "core/value.h"

namespace pkg {

// The module's exported entry (PKG_MXA07300): the host calls it after loading the
// module. The argument is not used. Errors are shown by the host, never thrown out.
void IniProc(const core::Value& Param = {});

// Creates the analysis-request screen once, shows it and opens the request filter
// over it. Called again while the screen exists, brings the same screen forward
// and opens the filter again. A failed creation (server unreachable, a server
// error while reading the parameters) propagates and leaves no screen behind.
void CriaPedidoAna();

}  // namespace pkg

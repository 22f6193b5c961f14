#pragma once
#include <functional>

namespace screen {

// The request filter dialog (frmFiltroPedido) lives above this layer, in dialogs/.
// It registers its opening and its release here; until it does, both do nothing.
void setRequestFilterHooks(std::function<void()> open, std::function<void()> release);
void openRequestFilter();     // CriaFiltroPedido: opens the filter over the screen
void releaseRequestFilter();  // frees frmFiltroPedido when the screen closes

}  // namespace screen

#pragma once
#include <functional>

namespace platform {

// Runs one event handler the way the host's event loop does: an abort ends it
// silently (its message, if any, was already shown), any other error is shown to
// the user in its own words. Returns true when the handler ran to its end.
bool runHandler(const std::function<void()>& handler);

}  // namespace platform

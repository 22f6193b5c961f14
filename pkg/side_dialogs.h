#pragma once

namespace pkg {

// Installs the module's real side dialogs for the screen to open (the filter, the
// authorization, the justification, ...). The module entry runs it; so do the tests.
void installModuleDialogs();

}  // namespace pkg

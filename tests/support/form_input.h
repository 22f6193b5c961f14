#pragma once
#include <string>

#include "platform/form.h"

namespace testsupport {

// The user's actions on a form's controls, run as the host's event loop runs them:
// a refusal is shown through the host and the action answers false.
void type(platform::Form& f, const std::string& control, const std::string& text);  // fires the box's change
bool leave(platform::Form& f, const std::string& control);
bool click(platform::Form& f, const std::string& control);

}  // namespace testsupport

#include "support/form_input.h"

#include "dialogs/dialog_controls.h"
#include "platform/handler.h"

namespace testsupport {

void type(platform::Form& f, const std::string& control, const std::string& text) {
    dialogs::setControlText(f.comps, control, text);
}

bool leave(platform::Form& f, const std::string& control) {
    return platform::runHandler([&] { f.comps[control].onExit(); });
}

bool click(platform::Form& f, const std::string& control) {
    return platform::runHandler([&] { f.comps[control].onClick(); });
}

}  // namespace testsupport

#include "platform/handler.h"

#include "core/error.h"
#include "platform/host.h"

namespace platform {

bool runHandler(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const core::Abort&) {
    } catch (const std::exception& e) {
        // The wait animation must never outlive the call that failed.
        host().waitOff();
        host().showMessage(e.what(), MsgType::Error);
    }
    return false;
}

}  // namespace platform

#include "platform/messages.h"

namespace platform {

std::string TMessages::Msg(const std::string& key) const {
    auto it = items_.find(key);
    return it == items_.end() ? key : it->second;
}

MsgResult TMessages::ShowMsg(const std::string& key, MsgType type, MsgButtons buttons) const {
    const std::string text = Msg(key);
    if (buttons == MsgButtons::Ok) {
        host().showMessage(text, type);
        return MsgResult::Ok;
    }
    return host().ask(text, type, buttons);
}

}  // namespace platform

#pragma once
#include <initializer_list>
#include <map>
#include <string>
#include <utility>

#include "platform/host.h"

namespace platform {

// A screen's keyed message table: the logic names keys, the user sees the texts.
class TMessages {
public:
    TMessages() = default;
    TMessages(std::initializer_list<std::pair<const std::string, std::string>> items) : items_(items) {}
    void add(const std::string& key, const std::string& text) { items_[key] = text; }
    bool has(const std::string& key) const { return items_.count(key) != 0; }
    // The text of the key; an unknown key gives the key itself, so a missing entry is
    // visible rather than silent.
    std::string Msg(const std::string& key) const;
    // Shows the key's text and answers the button pressed.
    MsgResult ShowMsg(const std::string& key, MsgType type = MsgType::Information,
                      MsgButtons buttons = MsgButtons::Ok) const;
    const std::map<std::string, std::string>& items() const { return items_; }

private:
    std::map<std::string, std::string> items_;
};

}  // namespace platform

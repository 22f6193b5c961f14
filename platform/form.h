#pragma once
#include <string>

#include "platform/components.h"

namespace platform {

enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

// A screen or dialog as the logic sees it: its named controls and what the host
// needs to show it. The Qt views render `comps`; the tests drive the handlers.
class Form {
public:
    virtual ~Form() = default;
    ComponentModel comps;
    std::string screenCode;  // "MXA07300"
    std::string caption;
    int ModalResult = mrNone;  // a modal dialog closes once it is set
    bool visible = false;
    // Asked by the host when the user closes the window.
    virtual void requestClose() { ModalResult = mrCancel; }
};

}  // namespace platform

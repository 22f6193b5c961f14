#pragma once
#include <memory>

#include "platform/host.h"

namespace dialogs {

// How a Cria... function shows its dialog: a fresh instance of `Dialog` (FormCreate run)
// unless `created` says one is there, published in `current` while it lives, activated,
// shown modally, then closed and freed, also when the modal run raises.
template <class Dialog>
void showFreshDialog(Dialog*& current, bool& created) {
    if (!created) {
        auto form = std::make_unique<Dialog>();
        current = form.get();
        try {
            form->FormCreate();
        } catch (...) {
            current = nullptr;
            throw;
        }
        form.release();
        created = true;
    }
    std::unique_ptr<Dialog> owned(current);
    struct Release {
        std::unique_ptr<Dialog>& form;
        Dialog*& current;
        ~Release() {
            try {
                form->FormClose();
            } catch (...) {
            }
            current = nullptr;
        }
    } release{owned, current};
    owned->FormActivate();
    platform::host().runModal(*owned);
}

}  // namespace dialogs

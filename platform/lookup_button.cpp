#include "platform/lookup_button.h"

namespace platform {

bool TBtnPesquisa::Click() {
    bool cancel = false;
    if (OnBeforePesq) OnBeforePesq(cancel);
    if (cancel) return false;
    if (OnPesquisa) OnPesquisa();
    if (OnAfterPesq) OnAfterPesq();
    return true;
}

}  // namespace platform

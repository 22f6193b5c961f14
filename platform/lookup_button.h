#pragma once
#include <functional>
#include <string>

namespace platform {

// The host's lookup button: before the lookup a handler may cancel it; after it,
// a handler copies the chosen row.
struct TBtnPesquisa {
    std::string name;
    std::function<void(bool& cancel)> OnBeforePesq;
    std::function<void()> OnPesquisa;  // runs the lookup itself (Pesquisar on a source)
    std::function<void()> OnAfterPesq;
    // Click: before (may cancel), the lookup, after. Returns false when cancelled.
    bool Click();
};

}  // namespace platform

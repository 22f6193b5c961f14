#include "screen/side_dialogs.h"

#include "core/error.h"

namespace screen {

namespace {

// What the screen meets when the module was entered without its dialogs.
class NoDialogs final : public SideDialogs {
public:
    void CriaFiltroPedido() override { missing(); }
    void LiberaFiltroPedido() override {}  // nothing was opened, nothing to free
    void GetAuditoria() override { missing(); }
    void CriaContQuali(const std::string&, const std::string&) override { missing(); }
    std::string authorizingOperator() const override { return {}; }
    void CriaJustificativa(const std::string&, const std::string&, const std::string&) override { missing(); }
    void CriaRelPedidoAnalise() override { missing(); }
    void CriaInfFatuVenc() override { missing(); }
    void CriaReanalise() override { missing(); }
    bool CriaAprovaParc() override { missing(); }
    void CriaAprovaItem() override { missing(); }

private:
    [[noreturn]] static void missing() { throw core::Error("Diálogo não disponível neste módulo."); }
};

std::unique_ptr<SideDialogs>& installed() {
    static std::unique_ptr<SideDialogs> d = std::make_unique<NoDialogs>();
    return d;
}

}  // namespace

void installSideDialogs(std::unique_ptr<SideDialogs> dialogs) {
    installed() = dialogs ? std::move(dialogs) : std::make_unique<NoDialogs>();
}

SideDialogs& sideDialogs() { return *installed(); }

}  // namespace screen

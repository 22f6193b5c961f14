#pragma once
#include <memory>
#include <string>

namespace screen {

// The modal dialogs the screen opens beside itself. They live above this layer
// (dialogs/), so the screen reaches them through this one interface and the module
// entry installs the real ones; the tests install the same. Each entry returns when
// its dialog closes; the answer is where the callers read it (ValidaTela for the
// authorization and the justification).
class SideDialogs {
public:
    virtual ~SideDialogs() = default;

    virtual void CriaFiltroPedido() = 0;
    // Frees the filter dialog: it lives as long as the screen that opened it.
    virtual void LiberaFiltroPedido() = 0;
    // Reloads the request list with the filter's last confirmed criteria (its
    // GetAuditoria); with none confirmed yet, the filter opens to ask for them.
    virtual void GetAuditoria() = 0;
    virtual void CriaContQuali(const std::string& stAuditoria, const std::string& stPermissao) = 0;
    // The operator whose password granted the last CANA authorization; empty when none.
    virtual std::string authorizingOperator() const = 0;
    virtual void CriaJustificativa(const std::string& stAuditoria, const std::string& stOperador,
                                   const std::string& stPermissao) = 0;
    virtual void CriaRelPedidoAnalise() = 0;
    virtual void CriaInfFatuVenc() = 0;
    virtual void CriaReanalise() = 0;
    // True when the user cancelled the partial approval (its boCancela).
    virtual bool CriaAprovaParc() = 0;
    virtual void CriaAprovaItem() = 0;
};

// Installs the dialogs the screen opens from now on; the previous ones go.
void installSideDialogs(std::unique_ptr<SideDialogs> dialogs);

// The installed dialogs. With none installed, every entry refuses in the system's
// words: a button must never do nothing.
SideDialogs& sideDialogs();

}  // namespace screen

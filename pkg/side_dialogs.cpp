#include "pkg/side_dialogs.h"

#include <memory>
#include <string>

#include "dialogs/authorization.h"
#include "dialogs/justification.h"
#include "dialogs/partial_approval.h"
#include "dialogs/request_filter.h"
#include "platform/host.h"
#include "screen/side_dialogs.h"

namespace pkg {

namespace {

// Dialogs not built yet tell the user so, instead of a click that does nothing.
void notYet(const std::string& what) {
    platform::host().showMessage(what + " ainda não está disponível nesta versão.", platform::MsgType::Information);
}

class ModuleDialogs final : public screen::SideDialogs {
public:
    void CriaFiltroPedido() override { cli_mxa07301::CriaFiltroPedido(); }
    void LiberaFiltroPedido() override { cli_mxa07301::LiberaFiltroPedido(); }
    void GetAuditoria() override {
        // Every confirm sets the situation criteria (at least "T"): empty means the
        // filter was never confirmed, and there are no criteria to reload with.
        auto* filter = cli_mxa07301::frmFiltroPedido;
        if (!filter || filter->stIDSTATUSAUDI.empty()) {
            cli_mxa07301::CriaFiltroPedido();
            return;
        }
        filter->GetAuditoria();
    }
    void CriaContQuali(const std::string& stAuditoria, const std::string& stPermissao) override {
        cli_mxa07304::CriaContQuali(stAuditoria, stPermissao);
    }
    std::string authorizingOperator() const override { return cli_mxa07304::stOperLibAna; }
    void CriaJustificativa(const std::string& stAuditoria, const std::string& stOperador,
                           const std::string& stPermissao) override {
        cli_mxa07308::CriaJustificativa(stAuditoria, stOperador, stPermissao);
    }
    void CriaRelPedidoAnalise() override { notYet("O relatório de pedidos de análise"); }
    void CriaInfFatuVenc() override { notYet("A consulta de faturas (vencimentos)"); }
    void CriaReanalise() override { notYet("A geração de reanálise"); }
    bool CriaAprovaParc() override {
        cli_mxa07307::CriaAprovaParc();
        return cli_mxa07307::boCancela;
    }
    void CriaAprovaItem() override { notYet("A aprovação de item"); }
};

}  // namespace

void installModuleDialogs() { screen::installSideDialogs(std::make_unique<ModuleDialogs>()); }

}  // namespace pkg

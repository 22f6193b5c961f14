#include "dialogs/justification.h"

#include <memory>

#include "dialogs/dialog_controls.h"
#include "dialogs/server_call.h"
#include "platform/host.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"

namespace cli_mxa07308 {

using platform::ControlKind;
using platform::MensErro;

TfrmJustificativa* frmJustificativa = nullptr;
bool boIdCriado = false;
std::string stAuditoria;
std::string stOperador;
std::string stPermissao;

TfrmJustificativa::TfrmJustificativa() {
    screenCode = "MXA07304";
    caption = "Justificativa";
    msgPadrao.add("Inf_Jus", "Justificativa deve ser informda.");
    msgPadrao.add("Jus_NCad", "Justificativa não cadastrada");
    msgPadrao.add("Oper_Inv", "Operador não tem permissão para alterar a Análise concluída.");
    msgPadrao.add("Oper_Conc", "Operador não tem permissão para concluir análise.");
    dialogs::declareJustificationSet(cdsJustificativa, true);
    dialogs::declareJustificationSet(cdsVdJustificativa, false);
}

TfrmJustificativa::~TfrmJustificativa() = default;

void TfrmJustificativa::buildControls() {
    dialogs::addConfirmCancel(comps, [this] { sbtConfirmaClick(); }, [this] { sbtCancelClick(); });

    comps.add("grbJustificativa", ControlKind::GroupBox, {}, "Justificativa");
    dialogs::addJustificationControls(comps, "grbJustificativa");
    comps["edtJus"].onExit = [this] { edtJusExit(); };
    comps["edtJus"].onChange = [this] { edtJusChange(); };
    comps["btnPesqJus"].onClick = [this] { btnPesqJus.Click(); };

    btnPesqJus.name = "btnPesqJus";
    btnPesqJus.OnBeforePesq = [this](bool& cancel) { btnPesqJusBeforePesq(cancel); };
    btnPesqJus.OnPesquisa = [this] {
        if (!platform::Pesquisar(cdsJustificativa, "Justificativa", "Não há justificativa cadastrada."))
            throw core::Abort();
    };
    btnPesqJus.OnAfterPesq = [this] { btnPesqJusAfterPesq(); };
}

void TfrmJustificativa::FormCreate() {
    TfrmRotiGeral::FormCreate();
    buildControls();
    screen::ValidaTela = true;
    dialogs::openOwnConnection(netVdOperador);
}

void TfrmJustificativa::FormActivate() { comps.setFocus("edtJus"); }

void TfrmJustificativa::FormClose() {
    boIdCriado = false;
    netVdOperador.Close();
}

void TfrmJustificativa::Vd_Justificativa() {
    // Unlike the authorization dialog, the code is required already on leaving the box.
    if (comps["edtJus"].text.empty()) {
        comps.setFocus("edtJus");
        MensErro(msgPadrao.Msg("Inf_Jus"), true);
    }
    dialogs::checkJustification(comps, msgPadrao, netVdOperador, cdsVdJustificativa);
}

void TfrmJustificativa::GetJustificativa() {
    std::vector<core::Variant> args;
    dialogs::loadServer(netVdOperador, "GetJustificativa", args, 1, cdsJustificativa);
}

void TfrmJustificativa::sbtConfirmaClick() {
    Vd_Justificativa();
    auto& net = dialogs::mainConnection();
    const std::string jus = comps["edtJus"].text;
    if (stPermissao == "EXCA") {
        std::vector<core::Variant> args{jus, platform::FiliProc(), stAuditoria, platform::Operador(),
                                        stPermissao, platform::Operador()};
        dialogs::callServer(net, "SetJustificativa", args, 1);
        stAuditoria = args[2].value.asString();
    }
    std::vector<core::Variant> args{platform::FiliProc(), stAuditoria, platform::Operador(), jus, stPermissao,
                                    platform::Operador()};
    dialogs::callServer(net, "SetJustificativaAna", args, 1);
    stAuditoria = args[1].value.asString();
    screen::ValidaTela = false;
    ModalResult = platform::mrOk;
}

void TfrmJustificativa::sbtCancelClick() {
    screen::ValidaTela = true;
    ModalResult = platform::mrCancel;
}

void TfrmJustificativa::edtJusExit() { Vd_Justificativa(); }

void TfrmJustificativa::edtJusChange() { comps["edtInfoJus"].text.clear(); }

void TfrmJustificativa::btnPesqJusBeforePesq(bool&) { GetJustificativa(); }

void TfrmJustificativa::btnPesqJusAfterPesq() {
    dialogs::setControlText(comps, "edtJus", cdsJustificativa["CDJUSTIFICATIVA"].asString());
    comps["edtInfoJus"].text = cdsJustificativa["DSJUSTIFICATIVA"].asString();
}

void CriaJustificativa(const std::string& auditoria, const std::string& operador, const std::string& permissao) {
    stAuditoria = auditoria;
    stOperador = operador;
    stPermissao = permissao;
    if (!boIdCriado) {
        auto form = std::make_unique<TfrmJustificativa>();
        frmJustificativa = form.get();
        try {
            form->FormCreate();
        } catch (...) {
            frmJustificativa = nullptr;
            throw;
        }
        form.release();
        boIdCriado = true;
    }
    // Closing frees the instance, so that the next call starts afresh.
    std::unique_ptr<TfrmJustificativa> owned(frmJustificativa);
    struct Release {
        ~Release() {
            try {
                frmJustificativa->FormClose();
            } catch (...) {
            }
            frmJustificativa = nullptr;
        }
    } release;
    owned->FormActivate();
    platform::host().runModal(*owned);
}

}  // namespace cli_mxa07308

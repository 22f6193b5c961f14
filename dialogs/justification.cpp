#include "dialogs/justification.h"

#include "dialogs/dialog_controls.h"
#include "dialogs/fresh_dialog.h"
#include "dialogs/server_call.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"

namespace cli_mxa07308 {

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

    dialogs::addJustificationGroup(
        comps, btnPesqJus, cdsJustificativa,
        {[this] { edtJusExit(); }, [this] { edtJusChange(); }, [this](bool& cancel) { btnPesqJusBeforePesq(cancel); },
         [this] { btnPesqJusAfterPesq(); }});
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
    dialogs::requireFilled(comps, "edtJus", msgPadrao.Msg("Inf_Jus"));
    dialogs::checkJustification(comps, msgPadrao, netVdOperador, cdsVdJustificativa);
}

void TfrmJustificativa::GetJustificativa() { dialogs::loadJustifications(netVdOperador, cdsJustificativa); }

void TfrmJustificativa::sbtConfirmaClick() {
    Vd_Justificativa();
    // The session operator holds the right, so the operator who authorized is the session's.
    dialogs::recordJustification(comps["edtJus"].text, stAuditoria, stPermissao, platform::Operador(),
                                 stPermissao == "EXCA");
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

void TfrmJustificativa::btnPesqJusAfterPesq() { dialogs::takeChosenJustification(comps, cdsJustificativa); }

void CriaJustificativa(const std::string& auditoria, const std::string& operador, const std::string& permissao) {
    stAuditoria = auditoria;
    stOperador = operador;
    stPermissao = permissao;
    dialogs::showFreshDialog(frmJustificativa, boIdCriado);
}

}  // namespace cli_mxa07308

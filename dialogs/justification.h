#pragma once
#include <string>

#include "core/recordset.h"
#include "platform/base_screens.h"
#include "platform/lookup_button.h"
#include "platform/netconnection.h"

// Unit Cli_mxa07308: records why a protected change was made when the session
// operator already holds the right for it.
namespace cli_mxa07308 {

class TfrmJustificativa : public platform::TfrmRotiGeral {
public:
    TfrmJustificativa();
    ~TfrmJustificativa() override;

    platform::TNetConnection netVdOperador;  // reads; the writes go through the main screen's
    core::RecordSet cdsJustificativa{"cdsJustificativa"};
    core::RecordSet cdsVdJustificativa{"cdsVdJustificativa"};
    platform::TBtnPesquisa btnPesqJus;

    void FormCreate() override;
    void FormActivate();
    void FormClose();

    void Vd_Justificativa();
    void GetJustificativa();
    void sbtConfirmaClick();
    void sbtCancelClick();
    void edtJusExit();
    void edtJusChange();
    void btnPesqJusBeforePesq(bool& cancel);
    void btnPesqJusAfterPesq();

private:
    void buildControls();
};

// Module state, process-wide as the callers read it.
extern TfrmJustificativa* frmJustificativa;
extern bool boIdCriado;
extern std::string stAuditoria;  // request the justification is recorded for
extern std::string stOperador;   // given by the caller; kept, not used
extern std::string stPermissao;  // EXCA or IEIA

// Shows a fresh dialog modally; ValidaTela is false afterwards only when the
// justification was recorded.
void CriaJustificativa(const std::string& stAuditoria, const std::string& stOperador,
                       const std::string& stPermissao);

}  // namespace cli_mxa07308

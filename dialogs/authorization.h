#pragma once
#include <string>

#include "core/recordset.h"
#include "platform/base_screens.h"
#include "platform/lookup_button.h"
#include "platform/netconnection.h"
#include "platform/query.h"

// Unit Cli_mxa07304: the dialog in which an operator proves a right (password and,
// for a given request, a justification) before a protected change goes through.
namespace cli_mxa07304 {

// Permission codes the callers ask for.
inline constexpr const char* ALTC = "ALTC";  // change a concluded analysis
inline constexpr const char* EXCA = "EXCA";  // delete an analysis
inline constexpr const char* IEIA = "IEIA";  // include or exclude inspections and items
inline constexpr const char* CANA = "CANA";  // conclude or release an analysis

class TfrmContQuali : public platform::TfrmRotiGeral {
public:
    TfrmContQuali();
    ~TfrmContQuali() override;

    // Reads through its own connection; writes through the main screen's.
    platform::TNetConnection netVdOperador;
    core::RecordSet cdsPermissao{"cdsPermissao"};
    core::RecordSet cdsVdOperador{"cdsVdOperador"};
    core::RecordSet cdsJustificativa{"cdsJustificativa"};
    core::RecordSet cdsVdJustificativa{"cdsVdJustificativa"};
    platform::TADOIBQuery qryOperador{"qryOperador"};
    platform::TBtnPesquisa btnPesqOper;
    platform::TBtnPesquisa btnPesqJus;
    int Height = 192;  // 107 in the short layout (operator and password only)

    void FormCreate() override;
    void FormActivate();
    void FormClose();

    void Vd_Operador();
    void Vd_Data();
    void Vd_Justificativa();
    void GetJustificativa();

    void sbtConfirmaClick();
    void sbtCancelClick();

    void edtOperadorExit();
    void edtOperadorChange();
    void edtSenhaExit();
    void medDataExit();
    void edtJusExit();
    void edtJusChange();
    void btnPesqOperBeforePesq(bool& cancel);
    void btnPesqOperAfterPesq();
    void btnPesqJusBeforePesq(bool& cancel);
    void btnPesqJusAfterPesq();

    // True when the dialog shows only the operator and password rows.
    bool shortLayout() const;

private:
    void buildControls();
    void declareSets();
    void setText(const std::string& control, const std::string& text);  // fires the box's change
    [[noreturn]] void refuse();  // the refusal of the permission asked for
};

// Module state, process-wide as the callers read it.
extern TfrmContQuali* frmContQuali;
extern bool boIdCriado;
extern std::string stAuditoria;   // request the change concerns; empty for none
extern std::string stPermissao;   // permission code asked for
extern std::string stOperLibAna;  // the authorizing operator, filled only for CANA

// Shows a fresh dialog modally and returns when it closes; the answer is in
// ValidaTela (true: not granted) and, for CANA, stOperLibAna.
void CriaContQuali(const std::string& stAuditoria, const std::string& stPermissao);

}  // namespace cli_mxa07304

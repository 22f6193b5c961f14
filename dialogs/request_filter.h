#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/recordset.h"
#include "platform/base_screens.h"
#include "platform/netconnection.h"
#include "platform/query.h"

// Unit Cli_mxa07301: the criteria of the request list. Confirming reloads the
// analysis screen's cdsAuditoria through GetAuditoria.
namespace cli_mxa07301 {

// The criteria kept between openings.
struct TDADOS {
    bool boMatPrima = false;
    bool boProdProc = false;
    bool boProdAcabado = false;
    bool boMatEmbalagem = false;
    bool boPendente = false;
    bool boAndamento = false;
    bool boCancelado = false;
    bool boOK = false;
    bool boNaoOK = false;
    bool boSetor = false;  // sector "Lista" chosen
    std::string stSetor;
    std::string stOP;
    std::string stProduto1;
    std::string stProduto2;
    core::DateTime dtDataIni;
    core::DateTime dtDataFim;
};
struct TFILTRO {
    TDADOS Alta;
};

class TfrmFiltroPedido : public platform::TfrmFiltroPadrao {
public:
    TfrmFiltroPedido();
    ~TfrmFiltroPedido() override;

    void FormCreate() override;
    void FormActivate();
    void btnOKClick() override { sbtConfirmaClick(); }
    void btnCancelClick() override { sbtCancelaClick(); }
    void sbtConfirmaClick();
    void sbtCancelaClick();

    // Screen <-> Filtro: false copies the screen into Filtro, true restores it.
    void Atualiza_Filtro(bool boAtua);
    // "medIni" or "medFim": the code must be a product; its name shows beside it.
    void Vd_Produto(const std::string& MedAtivo);
    // "Lote" or "SubLote": the typed lot (and sub-lot) must exist in the branch.
    void Vd_Lote(const std::string& stCampo);
    // The list with the criteria of the last confirm, into frmPedidoAna->cdsAuditoria.
    void GetAuditoria();

    void btpLoteClick();
    void btpSetorClick();
    void btpOPClick();
    void btpProdutoIniClick();
    void btpProdutoFinClick();

    // Named options per screen and operator, kept in the database.
    void btfSaveOpcClick();
    void btfLoadOpcClick();
    std::map<std::string, std::string> stlVariaveis;

    const TFILTRO& filtro() const { return Filtro; }

    // Criteria as last sent to the server: a value and its "all" marker ("T").
    std::string stNRORDPROD, stTNRORDPROD, stIDTPAUDITADO, stTIDTPAUDITADO, stCDSETEXECAUD, stTCDSETEXECAUD,
        stIDSTATUSAUDI, stINICIO, stFIM, stTDPRODUTO, stNRLOTEESTQ, stTDLOTE, stNRSUBLOTE, stTDSUBLOTE;
    core::DateTime dtDTINI, dtDTFIM;

    core::RecordSet cdsOp{"cdsOp"};
    core::RecordSet cdsLoteSublote{"cdsLoteSublote"};
    core::RecordSet cdsCarregaOpcoes{"cdsCarregaOpcoes"};
    platform::TADOIBQuery qrySetor{"qrySetor"};
    platform::TADOIBQuery qryProduto{"qryProduto"};
    platform::TADOIBQuery qryVdProduto{"qryVdProduto"};
    platform::TNetConnection netOpcoes{"Host"};  // the host's saved options

private:
    TFILTRO Filtro;

    void buildControls();
    void declareSets();
    void chooseList(const std::string& radio, const std::string& other, const std::string& button);
    // Checks 1-4 and 6-7 of the confirm; `strict` adds the date-value and lot checks.
    void checkCriteria(bool strict);
    void checkDate(const std::string& edit);
    std::string productCode(const std::string& edit) const;
    std::string dateText(const std::string& edit) const;
    std::optional<core::DateTime> dateOf(const std::string& edit) const;
    void buildCodes();
    void fillCriteria();
    void pickProduct(const std::string& code, const std::string& name);
    // Saved options: what is stored and how it comes back.
    core::Packet optionValues() const;
    std::string optionSummary() const;
    void applyOption(const core::RecordSet& values);
};

// Module state of the unit.
extern TfrmFiltroPedido* frmFiltroPedido;
extern bool boIdCriado;      // set by the first close; from then on an opening restores Filtro
extern std::string stSetor;  // sectors chosen in the list lookup, "0001,0005"
extern std::string stOP;     // production orders chosen in the list lookup
extern std::string stSituacao;
extern std::string stProcesso;
extern std::string stTipoAna;

// Creates the dialog once per analysis screen and shows it modally.
void CriaFiltroPedido();
// Frees the dialog (the analysis screen is closing).
void LiberaFiltroPedido();

}  // namespace cli_mxa07301

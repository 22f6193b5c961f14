#pragma once
#include <string>
#include <vector>

#include "core/recordset.h"
#include "platform/base_screens.h"
#include "platform/netconnection.h"
#include "platform/query.h"
#include "screen/frame/module_state.h"

namespace screen {

// The analysis-request screen "MXA07300": the request list and header, the
// inspections and items of the current request, and the formula and resources of
// the current item. It owns every record set for its lifetime; the side dialogs
// reach them through frmPedidoAna.
class TfrmPedidoAna : public platform::TfrmPadrao {
public:
    TfrmPedidoAna();
    ~TfrmPedidoAna() override;

    void FormCreate() override;
    void FormActivate() override;
    void FormClose() override;
    void netPedidoAnaBeforeConnect(platform::TNetConnection& conn);

    // Tab switch, the toolbar's print, and the toolbar following dtsPadrao's data
    // between its state changes (screen/frame/screen_state.cpp).
    void pgcPadraoChange() override;
    void sbtImprimirClick() override;
    void updateToolbar() override;
    // What the last state change saw of dtsPadrao: its set and whether it was empty.
    struct ShownState {
        const core::RecordSet* set = nullptr;
        bool empty = true;
    } shownState;
    // Toolbar delete, edit and cancel on the set of the active tab (screen/request/request_save.cpp).
    void sbtExcluirClick() override;
    void sbtAlterarClick() override;
    void sbtCancelarClick() override;
    // Toolbar include: the header on its tabs; on the items and formula tabs a new
    // row of the focused grid's set, in the grid, without leaving the tab.
    void sbtIncluirClick() override;

    // Connection to "MXA07300.rdmPedidoAna".
    platform::TNetConnection netPedidoAna;
    // A set's whole content from one call of the connection, under the wait animation.
    void load(core::RecordSet& set, const std::string& method, std::vector<core::Variant> args);

    // Private state of this screen.
    bool boFiltro = false;     // the filter dialog was created for this screen
    bool boAprovacao = false;  // a concluding save opened the partial approval
    double vrAprovada = 0;     // approved and rejected quantities returned by the header save
    double vrReprovada = 0;
    std::string stNewSubLote;  // sub-lot created by a partial approval

    // Parameters and permissions (read once per creation).
    core::RecordSet cdsParamMXA{"cdsParamMXA"};
    core::RecordSet cdsParamFilial{"cdsParamFilial"};
    core::RecordSet cdsPermissaoAna{"cdsPermissaoAna"};

    // Request header and its lookups.
    core::RecordSet cdsAuditoria{"cdsAuditoria"};
    core::RecordSet cdsProduto{"cdsProduto"};
    core::RecordSet cdsprodEsto{"cdsprodEsto"};
    core::RecordSet cdsLote{"cdsLote"};
    core::RecordSet cdsPesqLote{"cdsPesqLote"};
    core::RecordSet cdsVdLote{"cdsVdLote"};
    core::RecordSet cdsEquipProd{"cdsEquipProd"};
    core::RecordSet cdsVdEquipProd{"cdsVdEquipProd"};
    core::RecordSet cdsMarcaProd{"cdsMarcaProd"};
    core::RecordSet cdsUltAnalise{"cdsUltAnalise"};
    core::RecordSet cdsDtIniEtapa{"cdsDtIniEtapa"};

    // Save-time checks of the header.
    core::RecordSet cdsVdVersao{"cdsVdVersao"};
    core::RecordSet cdsVersao{"cdsVersao"};
    core::RecordSet cdsVdInsAudPen{"cdsVdInsAudPen"};
    core::RecordSet cdsVdInsAudCon{"cdsVdInsAudCon"};
    core::RecordSet cdsDtAudit{"cdsDtAudit"};
    core::RecordSet cdsExisteParcial{"cdsExisteParcial"};

    // Inspections, items, results.
    core::RecordSet cdsInspecAudit{"cdsInspecAudit"};
    core::RecordSet cdsItemInsAudit{"cdsItemInsAudit"};
    core::RecordSet cdsDsProd{"cdsDsProd"};
    core::RecordSet cdsDescInsAudit{"cdsDescInsAudit"};
    core::RecordSet cdsPrxInspecAudit{"cdsPrxInspecAudit"};
    core::RecordSet cdsVdInspUltNiv{"cdsVdInspUltNiv"};
    core::RecordSet cdsPesqCobaia{"cdsPesqCobaia"};
    core::RecordSet cdsVerHistCob{"cdsVerHistCob"};
    core::RecordSet cdsResultado{"cdsResultado"};
    core::RecordSet cdsExisteImensu{"cdsExisteImensu"};
    core::RecordSet cdsPesqItemInsAudit{"cdsPesqItemInsAudit"};
    core::RecordSet cdsVerifItemAudit{"cdsVerifItemAudit"};

    // Conclusion, release, stock.
    core::RecordSet cdsAudPenOp{"cdsAudPenOp"};
    core::RecordSet cdsVerMDtConc{"cdsVerMDtConc"};
    core::RecordSet cdsIdSitLote{"cdsIdSitLote"};
    core::RecordSet cdsLoteAnaPen{"cdsLoteAnaPen"};
    core::RecordSet cdsDtFinEtapa{"cdsDtFinEtapa"};
    core::RecordSet cdsContador{"cdsContador"};
    core::RecordSet cdsOrdProd{"cdsOrdProd"};
    core::RecordSet cdsDataServ{"cdsDataServ"};
    core::RecordSet cdsPosEstDia{"cdsPosEstDia"};
    core::RecordSet cdsValidade{"cdsValidade"};
    core::RecordSet cdsProcesso{"cdsProcesso"};
    core::RecordSet cdsQtAmostras{"cdsQtAmostras"};

    // Formula and resources.
    core::RecordSet cdsFormulaAna{"cdsFormulaAna"};
    core::RecordSet cdsLoteEst{"cdsLoteEst"};
    core::RecordSet cdsPesqProd{"cdsPesqProd"};
    core::RecordSet cdsCtrlEstqLote{"cdsCtrlEstqLote"};
    core::RecordSet cdsRecurso{"cdsRecurso"};

    // Direct queries on the analysis tree.
    platform::TADOIBQuery qryInspUltNv{"qryInspUltNv"};
    platform::TADOIBQuery qryInspecao{"qryInspecao"};
    platform::TADOIBQuery qryVdInspecao{"qryVdInspecao"};
    // Direct queries of the items on the response catalogue and the operators
    // (screen/inspection/item_queries.cpp).
    platform::TADOIBQuery qryResposta{"qryResposta"};
    platform::TADOIBQuery qryRespGeral{"qryRespGeral"};
    platform::TADOIBQuery qryVdRespProd{"qryVdRespProd"};
    platform::TADOIBQuery qryVdResposta{"qryVdResposta"};
    platform::TADOIBQuery qryExistRespProd{"qryExistRespProd"};
    platform::TADOIBQuery qryExistRespProdNull{"qryExistRespProdNull"};
    platform::TADOIBQuery qryLimNorm{"qryLimNorm"};
    platform::TADOIBQuery qryLimNormNull{"qryLimNormNull"};
    platform::TADOIBQuery qryOperador{"qryOperador"};
    platform::TADOIBQuery qryVdOperador{"qryVdOperador"};
    // Direct queries of the header's sector and supplier (screen/request/header_queries.cpp).
    platform::TADOIBQuery qrySetor{"qrySetor"};
    platform::TADOIBQuery qryVdSetor{"qryVdSetor"};
    platform::TADOIBQuery qryFornecedor{"qryFornecedor"};
    platform::TADOIBQuery qryVdFornecedor{"qryVdFornecedor"};

    // The edit mask of date-time boxes: the host's date mask plus hours and minutes.
    static std::string dateTimeMask();

private:
    void declareFields();  // pedido_ana_fields.cpp
    void buildLayout();    // pedido_ana_layout.cpp
    void loadMessages();
    void loadParameters();
};

// A closed screen is freed once the event that closed it has finished, since its
// window may still be drawing it: at the next entry, or at exit.
void freeClosedScreen();

}  // namespace screen

#include "screen/frame/pedido_ana.h"

#include <memory>
#include <utility>

#include "platform/host.h"
#include "platform/services.h"
#include "screen/conclusion/conclusion.h"
#include "screen/frame/module_state.h"
#include "screen/frame/screen_state.h"
#include "screen/inspection/inspection.h"
#include "screen/inspection/item.h"
#include "screen/request/request_fields.h"
#include "screen/request/request_record.h"
#include "screen/request/request_save.h"
#include "screen/side_dialogs.h"

namespace screen {

namespace {
std::unique_ptr<TfrmPedidoAna>& closedScreen() {
    static std::unique_ptr<TfrmPedidoAna> s;
    return s;
}
}  // namespace

void freeClosedScreen() { closedScreen().reset(); }

TfrmPedidoAna::TfrmPedidoAna() : netPedidoAna("MXA07300.rdmPedidoAna") {
    screenCode = "MXA07300";
    caption = "Pedido de Análise ";
    netPedidoAna.ThrowException = false;
    netPedidoAna.OnBeforeConnect = [this](platform::TNetConnection& conn) { netPedidoAnaBeforeConnect(conn); };
    declareFields();
    declareRequestFields(*this);
    declareInspectionFields(*this);
    declareItemQueries(*this);
    declareConclusionFields(*this);
    loadMessages();
    setupRequestRecord(*this);
    connectRequestSave(*this);
    setupInspectionRecord(*this);
    setupItemRecord(*this);
}

TfrmPedidoAna::~TfrmPedidoAna() {
    if (frmPedidoAna == this) frmPedidoAna = nullptr;
}

void TfrmPedidoAna::loadMessages() {
    msgPadrao.add("1", "Pendente");
    msgPadrao.add("2", "Em Andamento");
    msgPadrao.add("3", "Cancelado");
    msgPadrao.add("4", "Concluído OK");
    msgPadrao.add("5", "Concluído Não OK");
    msgPadrao.add("M", "Matéria Prima");
    msgPadrao.add("E", "Material de Embalagem");
    msgPadrao.add("P", "Produto em processo");
    msgPadrao.add("A", "Produto Acabado");
}

std::string TfrmPedidoAna::dateTimeMask() {
    std::string mask = platform::DateMask();
    mask.resize(mask.size() >= 4 ? mask.size() - 4 : 0);
    return mask + " 99:99;1; ";
}

void TfrmPedidoAna::load(core::RecordSet& set, const std::string& method, std::vector<core::Variant> args) {
    platform::withShowAvi(6, [&] { platform::loadFromServer(set, netPedidoAna.call(method, std::move(args))); });
}

void TfrmPedidoAna::netPedidoAnaBeforeConnect(platform::TNetConnection& conn) { platform::pointAtSessionServer(conn); }

void TfrmPedidoAna::FormCreate() {
    TfrmPadrao::FormCreate();  // 1
    buildLayout();
    buildRequestHeader(*this);
    connectScreenState(*this);
    netPedidoAna.Open();  // 2: a failure ends the creation here
    boFiltro = false;     // 3
    boPermi = false;

    auto& sit = comps["dbcSit"];  // 4: list position is not the code
    sit.items.clear();
    for (const char* k : {"1", "2", "3", "4", "5"}) sit.items.push_back(msgPadrao.Msg(k));
    comps.setActiveTab("pgcPadrao", "tshFolhaDados");  // 5
    auto& proc = comps["dbcProcesso"];                 // 6
    proc.items.clear();
    for (const char* k : {"M", "E", "P", "A"}) proc.items.push_back(msgPadrao.Msg(k));

    const std::string dtMask = dateTimeMask();  // 7
    const std::string prodPict = platform::DBPict(0);
    const std::string anaPict = platform::DBPict(12);
    cdsInspecAudit.field("DTFINRINSAUD").editMask = dtMask;
    cdsInspecAudit.field("DTINIRINSAUD").editMask = dtMask;
    cdsAuditoria.field("CDARVPROD").editMask = prodPict;
    cdsProduto.field("CDARVPROD").editMask = prodPict;
    cdsAuditoria.field("CDARVPRODANTE").editMask = prodPict;
    cdsInspecAudit.field("CDARVINSPEC").editMask = anaPict;
    qryInspUltNv.field("CDARVINSPEC").editMask = anaPict;
    cdsItemInsAudit.field("CDARVINSPEC").editMask = anaPict;
    qryInspecao.field("CDARVINSPEC").editMask = anaPict;

    cdsAuditoria.field("NRSUBLOTE").tag = 1;  // 8
    cdsAuditoria.field("NRAUDITORIA").tag = 1;

    comps.setActiveTab("pgcPadrao", "tshFolhaDados");  // 9
    dbgInspecAuditColExit(*this);

    cdsRecurso.field("DTINIRECUR").editMask = dtMask;  // 10
    cdsRecurso.field("DTFIMRECUR").editMask = dtMask;
    cdsFormulaAna.field("CDARVPROD").editMask = prodPict;
    cdsPesqProd.field("CDARVPROD").editMask = prodPict;

    boVdTeorVazio = false;  // 11
    boVdTeorInv = false;

    loadParameters();  // 12

    // 13: the codes may be stored in any case.
    boExistePermExcAna = cdsPermissaoAna.locate("IDAUTGRUPOP", core::Value("EXCA"), true);
    boExistePermAltItem = cdsPermissaoAna.locate("IDAUTGRUPOP", core::Value("IEIA"), true);

    stIdAna.clear();  // 14
}

// Branch parameters and the permission list, read once per creation.
void TfrmPedidoAna::loadParameters() {
    platform::withShowAvi(6, [&] {
        const std::string filial = platform::FiliProc();
        platform::loadFromServer(cdsParamFilial, netPedidoAna.call("getParamFilial", {filial}));
        platform::loadFromServer(cdsParamMXA, netPedidoAna.call("GetParamMXA", {filial}));
        platform::loadFromServer(cdsPermissaoAna, netPedidoAna.call("getPermissaoAna", {filial}));
    });
}

void TfrmPedidoAna::FormActivate() {
    boIdCriado = true;
    // The views repaint from the component model after every handler.
}

void TfrmPedidoAna::FormClose() {
    netPedidoAna.Close();
    boIdCriado = false;
    sideDialogs().LiberaFiltroPedido();
    TfrmPadrao::FormClose();  // the host drops the screen's window
    visible = false;
    if (frmPedidoAna == this) {
        frmPedidoAna = nullptr;
        closedScreen().reset(this);
    }
}

}  // namespace screen

#include "dialogs/request_filter.h"

#include <memory>
#include <tuple>

#include "core/format.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/server_call.h"
#include "platform/handler.h"
#include "platform/host.h"
#include "platform/services.h"
#include "records/request_criteria.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_state.h"

namespace cli_mxa07301 {

using platform::ControlKind;
using platform::MensErro;

TfrmFiltroPedido* frmFiltroPedido = nullptr;
bool boIdCriado = false;
std::string stSetor;
std::string stOP;
std::string stSituacao;
std::string stProcesso;
std::string stTipoAna;

namespace {

std::unique_ptr<TfrmFiltroPedido>& instance() {
    static std::unique_ptr<TfrmFiltroPedido> dialog;
    return dialog;
}

screen::TfrmPedidoAna& mainScreen() {
    if (!screen::frmPedidoAna) throw core::Error("A tela de Pedido de Análise não está aberta.");
    return *screen::frmPedidoAna;
}

// The period a new filter starts with: the last six months up to the server's today.
constexpr int kDefaultDays = 180;

}  // namespace

TfrmFiltroPedido::TfrmFiltroPedido() {
    screenCode = "MXA07301";
    caption = "Filtro de Pedido de Análise";
    msgPadrao.add("Setor", "Setor");
    msgPadrao.add("Setor_nc", "Não há setor cadastrado.");
    msgPadrao.add("OP", "Ordem de Produção");
    // Not in the original table; without it the user would read the bare key.
    msgPadrao.add("OP_nc", "Não há ordem de produção cadastrada.");
    msgPadrao.add("Intervalo_Ini", "Intervalo inicial  do produto deve ser informado.");
    msgPadrao.add("Intervalo_Fim", "Intervalo final do produto deve ser informado.");
    msgPadrao.add("Ini_Menor", "Intervalo inicial deve ser menor ou igual ao intervalo final.");
    msgPadrao.add("Periodo_Ini", "Período inicial deve ser informado.");
    msgPadrao.add("Periodo_Fim", "Período final deve ser informado.");
    msgPadrao.add("Periodo_Ini_Menor", "Período inicial deve ser menor ou igual ao período final.");
    msgPadrao.add("Setor_deve", "Setor deve ser informado.");
    msgPadrao.add("OP_deve", "Ordem de produção deve ser informado.");
    msgPadrao.add("Lote", "Lote/Sub-Lote");
    msgPadrao.add("Lote_Empty", "Não há lote cadastrado.");
    msgPadrao.add("Lote_NCad", "Lote não cadastrado.");
    msgPadrao.add("SubLote_NCad", "Sub-Lote não cadastrado para o lote informado.");
    msgPadrao.add("Prod_NCad", "Produto não cadastrado.");
    declareSets();
}

TfrmFiltroPedido::~TfrmFiltroPedido() {
    if (frmFiltroPedido == this) frmFiltroPedido = nullptr;
}

void TfrmFiltroPedido::declareSets() {
    using core::FieldType;
    cdsOp.addField("IDMARCADO", FieldType::String, 1, "").visible = false;
    cdsOp.addField("NRORDPROD", FieldType::String, 12, "Ordem de Produção");
    cdsOp.addField("NMPRODUTO", FieldType::String, 50, "Produto");
    cdsLoteSublote.addField("NRLOTEESTQ", FieldType::String, 20, "Lote");
    cdsLoteSublote.addField("NRSUBLOTE", FieldType::String, 4, "Sublote");
    cdsCarregaOpcoes.addField("DSOPCSALVA", FieldType::String, 40, "Opção");
    cdsCarregaOpcoes.addField("TXCRITERIO", FieldType::String, 0, "Critérios");
    cdsCarregaOpcoes.addField("DTGRAVACAO", FieldType::DateTime, 0, "Gravada em").displayFormat =
        "ddddd hh:nn";

    qrySetor.SQL = qrySetor.SQL_ORACLE = qrySetor.SQL_MSSQL = qrySetor.SQL_IB =
        "SELECT\n   CDSETOR, NMSETOR\nFROM\n   SETOR\nORDER BY\n   CDSETOR";
    qrySetor.addField("CDSETOR", FieldType::String, 4, "Código");
    qrySetor.addField("NMSETOR", FieldType::String, 30, "Nome");
    const std::string produto = "SELECT \n   CDARVPROD,\n   NMPRODUTO\nFROM \n   PRODUTO\n";
    qryProduto.SQL = qryProduto.SQL_ORACLE = qryProduto.SQL_MSSQL = qryProduto.SQL_IB =
        produto + "ORDER BY\n   CDARVPROD";
    qryProduto.addField("CDARVPROD", FieldType::String, 20, "Código");
    qryProduto.addField("NMPRODUTO", FieldType::String, 50, "Nome");
    qryVdProduto.SQL = qryVdProduto.SQL_ORACLE = qryVdProduto.SQL_MSSQL = qryVdProduto.SQL_IB =
        produto + "WHERE\n   CDARVPROD = :P_CDARVPROD\nORDER BY\n   CDARVPROD";
    qryVdProduto.addField("CDARVPROD", FieldType::String, 20, "Código");
    qryVdProduto.addField("NMPRODUTO", FieldType::String, 50, "Nome");
}

void TfrmFiltroPedido::buildControls() {
    auto& c = comps;
    using K = ControlKind;
    auto group = [&](const char* name, const char* caption) { c.add(name, K::GroupBox, {}, caption); };
    auto handled = [](std::function<void()> f) { return [f = std::move(f)] { platform::runHandler(f); }; };
    auto f9 = [](std::function<void()> open) {
        return [open = std::move(open)](platform::Key& key) {
            if (!key.is(platform::vk::F9)) return;
            key.clear();
            platform::runHandler(open);
        };
    };

    group("grbLote", "Lote/Sub-Lote");
    c.add("edtLote", K::Edit, "grbLote").maxLength = 20;
    c.add("edtSubLote", K::Edit, "grbLote").maxLength = 4;
    c.add("btpLote", K::LookupButton, "grbLote").onClick = handled([this] { btpLoteClick(); });
    c["edtLote"].onChange = [this] { dialogs::setControlText(comps, "edtSubLote", ""); };
    c["edtLote"].onExit = [this] { Vd_Lote("Lote"); };
    c["edtSubLote"].onExit = [this] { Vd_Lote("SubLote"); };
    c["edtLote"].onKeyDown = f9([this] { btpLoteClick(); });
    c["edtSubLote"].onKeyDown = f9([this] { btpLoteClick(); });

    group("grbOP", "OP");
    c.add("rbtTOP", K::RadioButton, "grbOP", "Todos").checked = true;
    c.add("rbtLOP", K::RadioButton, "grbOP", "Lista");
    c.add("btpOP", K::LookupButton, "grbOP").enabled = false;
    c["rbtTOP"].onClick = [this] { chooseList("rbtTOP", "rbtLOP", "btpOP"); };
    c["rbtLOP"].onClick = [this] { chooseList("rbtLOP", "rbtTOP", "btpOP"); };
    c["btpOP"].onClick = handled([this] { btpOPClick(); });
    c["rbtLOP"].onKeyDown = f9([this] {
        if (comps["rbtLOP"].checked) btpOPClick();
    });

    group("grbSetor", "Setor");
    c.add("rbtTodosSetor", K::RadioButton, "grbSetor", "Todos").checked = true;
    c.add("rbtListaSetor", K::RadioButton, "grbSetor", "Lista");
    c.add("btpSetor", K::LookupButton, "grbSetor").enabled = false;
    c["rbtTodosSetor"].onClick = [this] { chooseList("rbtTodosSetor", "rbtListaSetor", "btpSetor"); };
    c["rbtListaSetor"].onClick = [this] { chooseList("rbtListaSetor", "rbtTodosSetor", "btpSetor"); };
    c["btpSetor"].onClick = handled([this] { btpSetorClick(); });
    c["rbtListaSetor"].onKeyDown = f9([this] {
        if (comps["rbtListaSetor"].checked) btpSetorClick();
    });

    group("grbData", "Data do Pedido");
    c.add("lblDepIni", K::Label, "grbData", "de");
    c.add("depIni", K::MaskEdit, "grbData").mask = platform::DateMask();
    c.add("lblDepFim", K::Label, "grbData", "até");
    c.add("depFim", K::MaskEdit, "grbData").mask = platform::DateMask();
    c["depIni"].onExit = [this] { checkDate("depIni"); };
    c["depFim"].onExit = [this] { checkDate("depFim"); };

    group("grbProcesso", "Processo");
    c.add("chbMatPrima", K::CheckBox, "grbProcesso", "Matéria Prima");
    c.add("chbProdProc", K::CheckBox, "grbProcesso", "Produto em processo");
    c.add("chbProdAcabado", K::CheckBox, "grbProcesso", "Produto acabado");
    c.add("chbMatEmbalagem", K::CheckBox, "grbProcesso", "Material de Embalagem");

    group("grbSituacao", "Situação");
    c.add("chbPendente", K::CheckBox, "grbSituacao", "Pendente").checked = true;
    c.add("chbAndamento", K::CheckBox, "grbSituacao", "Em Andamento").checked = true;
    c.add("chbCancelado", K::CheckBox, "grbSituacao", "Cancelada");
    c.add("chbOK", K::CheckBox, "grbSituacao", "Concluído OK");
    c.add("chbNaoOK", K::CheckBox, "grbSituacao", "Concluído Não OK");

    group("grbProduto", "Intervalo de Produto");
    const std::string pict = platform::DBPict(0);
    c.add("lblMedIni", K::Label, "grbProduto", "de");
    c.add("medIni", K::MaskEdit, "grbProduto").mask = pict;
    c.add("btpProdutoIni", K::LookupButton, "grbProduto").onClick = handled([this] { btpProdutoIniClick(); });
    c.add("edtProdIni", K::Edit, "grbProduto").readOnly = true;
    c.add("lblMedFim", K::Label, "grbProduto", "até");
    c.add("medFim", K::MaskEdit, "grbProduto").mask = pict;
    c.add("btpProdutoFin", K::LookupButton, "grbProduto").onClick = handled([this] { btpProdutoFinClick(); });
    c.add("edtProdFin", K::Edit, "grbProduto").readOnly = true;
    c["medIni"].onChange = [this] { comps["edtProdIni"].text.clear(); };
    c["medFim"].onChange = [this] { comps["edtProdFin"].text.clear(); };
    c["medIni"].onExit = [this] { Vd_Produto("medIni"); };
    c["medFim"].onExit = [this] { Vd_Produto("medFim"); };

    group("grbTipoAna", "Tipo de Análise");
    c.add("chbAnalise", K::CheckBox, "grbTipoAna", "Análise");
    c.add("chbReanalise", K::CheckBox, "grbTipoAna", "Reanálise");
    c.add("chbCompatibilidade", K::CheckBox, "grbTipoAna", "Compatibilidade");

    group("grbOpcoes", "Opções de Filtro");
    c.add("lblOpcao", K::Label, "grbOpcoes", "Nome");
    c.add("edtOpcao", K::Edit, "grbOpcoes").maxLength = 40;
    c.add("btfSaveOpc", K::Button, "grbOpcoes", "Salvar Opção").onClick =
        handled([this] { btfSaveOpcClick(); });
    c.add("btfLoadOpc", K::Button, "grbOpcoes", "Carregar Opção").onClick =
        handled([this] { btfLoadOpcClick(); });
}

void TfrmFiltroPedido::FormCreate() {
    TfrmFiltroPadrao::FormCreate();
    buildControls();
    qryProduto.field("CDARVPROD").editMask = platform::DBPict(0);
    stSetor.clear();
    stOP.clear();
    stSituacao.clear();
    boIdCriado = false;

    const core::DateTime today = platform::DtServ("H").datePart();
    comps["depFim"].text = core::formatDateTime("dd/mm/yyyy", today);
    comps["depIni"].text = core::formatDateTime("dd/mm/yyyy", today.plusDays(-kDefaultDays));
    // A first opening that ends in Cancel must not leave an empty Filtro for the
    // next opening to restore: it starts as the defaults.
    Atualiza_Filtro(false);
}

void TfrmFiltroPedido::FormActivate() {
    platform::AtualizaLocalCache("LOTE");
    if (boIdCriado) Atualiza_Filtro(true);
}

void TfrmFiltroPedido::chooseList(const std::string& radio, const std::string& other,
                                  const std::string& button) {
    comps[radio].checked = true;
    comps[other].checked = false;
    // The lookup is there only for a list.
    comps[button].enabled = radio == "rbtLOP" || radio == "rbtListaSetor";
}

void TfrmFiltroPedido::Atualiza_Filtro(bool boAtua) {
    auto& d = Filtro.Alta;
    struct Box {
        const char* name;
        bool TDADOS::*flag;
    };
    static const Box boxes[] = {
        {"chbMatPrima", &TDADOS::boMatPrima},
        {"chbProdProc", &TDADOS::boProdProc},
        {"chbProdAcabado", &TDADOS::boProdAcabado},
        {"chbMatEmbalagem", &TDADOS::boMatEmbalagem},
        {"chbPendente", &TDADOS::boPendente},
        {"chbAndamento", &TDADOS::boAndamento},
        {"chbCancelado", &TDADOS::boCancelado},
        {"chbOK", &TDADOS::boOK},
        {"chbNaoOK", &TDADOS::boNaoOK},
    };
    if (!boAtua) {
        for (const auto& b : boxes) d.*b.flag = comps[b.name].checked;
        d.boSetor = comps["rbtListaSetor"].checked;
        d.stSetor = stSetor;
        d.stOP = stOP;
        d.dtDataIni = dateOf("depIni").value_or(core::DateTime{});
        d.dtDataFim = dateOf("depFim").value_or(core::DateTime{});
        d.stProduto1 = comps["medIni"].text;
        d.stProduto2 = comps["medFim"].text;
        return;
    }
    for (const auto& b : boxes) comps[b.name].checked = d.*b.flag;
    chooseList(d.boSetor ? "rbtListaSetor" : "rbtTodosSetor", d.boSetor ? "rbtTodosSetor" : "rbtListaSetor",
               "btpSetor");
    stSetor = d.stSetor;
    stOP = d.stOP;
    comps["depIni"].text =
        d.dtDataIni.days > 0 ? core::formatDateTime("dd/mm/yyyy", d.dtDataIni) : std::string();
    comps["depFim"].text =
        d.dtDataFim.days > 0 ? core::formatDateTime("dd/mm/yyyy", d.dtDataFim) : std::string();
    // Restoring a code clears its name; the name is looked up again so the range reads as before.
    for (const auto& [edit, text, name] : {std::tuple{"medIni", d.stProduto1, "edtProdIni"},
                                           std::tuple{"medFim", d.stProduto2, "edtProdFin"}}) {
        dialogs::setControlText(comps, edit, text);
        const std::string code = productCode(edit);
        if (code.empty()) continue;
        qryVdProduto.ParamByName("P_CDARVPROD") = code;
        qryVdProduto.Open();
        if (!qryVdProduto.isEmpty()) comps[name].text = qryVdProduto.field("NMPRODUTO").asString();
    }
}

void TfrmFiltroPedido::buildCodes() {
    auto on = [this](const char* name) { return comps[name].checked; };
    stProcesso.clear();
    if (on("chbMatPrima")) stProcesso += "_M";
    if (on("chbProdProc")) stProcesso += "_P";
    if (on("chbProdAcabado")) stProcesso += "_A";
    if (on("chbMatEmbalagem")) stProcesso += "_E";

    stTipoAna.clear();
    if (on("chbAnalise")) stTipoAna += "_A";
    if (on("chbReanalise")) stTipoAna += "_R";
    if (on("chbCompatibilidade")) stTipoAna += "_C";
    if (stTipoAna.empty()) stTipoAna = "T";

    stSituacao.clear();
    if (on("chbPendente")) stSituacao += "_1";
    if (on("chbAndamento")) stSituacao += "_2";
    if (on("chbCancelado")) stSituacao += "_3";
    if (on("chbOK")) stSituacao += "_4";
    if (on("chbNaoOK")) stSituacao += "_5";
    if (stSituacao.empty()) stSituacao = "T";
}

void TfrmFiltroPedido::fillCriteria() {
    const std::string ini = productCode("medIni"), fim = productCode("medFim");
    if (ini.empty() && fim.empty()) {
        stINICIO.clear();
        stFIM.clear();
        stTDPRODUTO = "T";
    } else {
        stINICIO = ini;
        // Every code that starts with the end code sorts below end + "zzz...".
        stFIM = fim + std::string(fim.size() < 10 ? 10 - fim.size() : 0, 'z');
        stTDPRODUTO.clear();
    }
    dtDTINI = dateOf("depIni").value_or(core::DateTime{});
    dtDTFIM = dateOf("depFim").value_or(core::DateTime{});
    stIDTPAUDITADO = stProcesso;
    stTIDTPAUDITADO = stProcesso.empty() ? "T" : "";
    const bool sectors = comps["rbtListaSetor"].checked, orders = comps["rbtLOP"].checked;
    stCDSETEXECAUD = sectors ? stSetor : "";
    stTCDSETEXECAUD = sectors ? "" : "T";
    stNRORDPROD = orders ? stOP : "";
    stTNRORDPROD = orders ? "" : "T";
    stIDSTATUSAUDI = stSituacao;
    stNRLOTEESTQ = comps["edtLote"].text;
    stTDLOTE = stNRLOTEESTQ.empty() ? "T" : "";
    stNRSUBLOTE = comps["edtSubLote"].text;
    stTDSUBLOTE = stNRSUBLOTE.empty() ? "T" : "";
}

void TfrmFiltroPedido::GetAuditoria() {
    auto& screen = mainScreen();
    auto args = records::requestCriteria().arguments({
        {"stNRORDPROD", stNRORDPROD},
        {"stTNRORDPROD", stTNRORDPROD},
        {"stIDTPAUDITADO", stIDTPAUDITADO},
        {"stTIDTPAUDITADO", stTIDTPAUDITADO},
        {"stCDSETEXECAUD", stCDSETEXECAUD},
        {"stTCDSETEXECAUD", stTCDSETEXECAUD},
        {"stIDSTATUSAUDI", stIDSTATUSAUDI},
        {"stINICIO", stINICIO},
        {"stFIM", stFIM},
        {"stTDPRODUTO", stTDPRODUTO},
        {"dtDTINI", dtDTINI},
        {"dtDTFIM", dtDTFIM},
        {"stNRLOTEESTQ", stNRLOTEESTQ},
        {"stTDLOTE", stTDLOTE},
        {"stNRSUBLOTE", stNRSUBLOTE},
        {"stTDSUBLOTE", stTDSUBLOTE},
        {"CDFILIAL", platform::FiliProc()},
        {"stTipoAna", stTipoAna},
    });
    dialogs::loadServer(screen.netPedidoAna, records::requestCriteria().method(), args, 6, screen.cdsAuditoria);
}

void TfrmFiltroPedido::sbtConfirmaClick() {
    checkCriteria(true);  // 1-8
    buildCodes();         // 9
    mainScreen().cdsAuditoria.close();
    fillCriteria();
    // A failure leaves the list closed and this dialog open, with the server's error shown.
    GetAuditoria();
    Atualiza_Filtro(false);
    ModalResult = platform::mrOk;
}

void TfrmFiltroPedido::sbtCancelaClick() {
    ModalResult = platform::mrCancel;
    // The list stays as it was; the screen's buttons, boxes and tabs follow it again.
    if (screen::frmPedidoAna) screen::dtsPadraoStateChange(*screen::frmPedidoAna);
}

void CriaFiltroPedido() {
    auto& screen = mainScreen();
    if (!screen.boFiltro || !instance()) {
        instance() = std::make_unique<TfrmFiltroPedido>();
        frmFiltroPedido = instance().get();
        frmFiltroPedido->FormCreate();
        screen.boFiltro = true;
    }
    auto& dialog = *instance();
    dialog.FormActivate();
    platform::host().runModal(dialog);
    // Closing only hides the dialog; its criteria wait for the next opening.
    dialog.visible = false;
    boIdCriado = true;
}

void LiberaFiltroPedido() {
    instance().reset();
    frmFiltroPedido = nullptr;
}

}  // namespace cli_mxa07301

#include "dialogs/partial_approval.h"

#include <tuple>

#include "core/format.h"
#include "core/quantity.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/fresh_dialog.h"
#include "dialogs/server_call.h"
#include "platform/services.h"
#include "records/item_record.h"
#include "records/record_set.h"
#include "screen/conclusion/conclusion_check.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"

namespace cli_mxa07307 {

TfrmAprovaParcial* frmAprovaParcial = nullptr;
bool boIdCriado = false;
bool boCancela = true;

using platform::ControlKind;

namespace {

screen::TfrmPedidoAna& mainScreen() {
    dialogs::mainConnection();  // refuses in words when the screen is not there
    return *screen::frmPedidoAna;
}

std::string text(const core::RecordSet& set, const char* field) {
    if (!set.active() || set.isEmpty()) return {};
    const auto& f = set.field(field);
    return f.isNull() ? std::string() : f.asString();
}

// What a bound box of the set shows for the field ("" with no current record).
std::string shown(const core::RecordSet& set, const char* field) {
    if (!set.active() || set.isEmpty()) return {};
    return set.field(field).displayText();
}

// "<code> - <name>" of a store of the product.
std::string store(const core::RecordSet& prodFili, const char* code, const char* name) {
    return text(prodFili, code) + " - " + text(prodFili, name);
}

}  // namespace

TfrmAprovaParcial::TfrmAprovaParcial() {
    screenCode = "MXA07307";
    caption = "Aprovação Parcial de Lote";
    msgPadrao.add("nao_movimenta", "Análise de Produto em Processo não movimenta Estoque");
    msgPadrao.add("nao_quarentena", "Processo não controla Quarentena");
    msgPadrao.add("Rotina_Nao_Possivel",
                  "Não é possível aprovação parcial de um lote que não possui quantidade no estoque de quarentena. ");
    msgPadrao.add("sem_lote", "Não é possível realizar aprovação parcial pois esta análise não possui lote.");
    msgPadrao.add("sem_localRep",
                  "Não é possível realizar aprovação parcial pois o produto não tem parametrização de Local de "
                  "Estoque por Produto para estoque Reprovado.");
    msgPadrao.add("valores_diferentes",
                  "Quantidade total informada não corrresponde à quantidade do lote do produto atual no estoque.");
    msgPadrao.add("qtde_negativa", "Quantidade aprovada e quantidade reprovada não podem ser negativas.");
    records::declareSet(cdsItemInsAudit, records::itemRecord());
    cdsItemInsAudit.field("VRRESPINSAUD").displayFormat = "#,##0.00000";
}

TfrmAprovaParcial::~TfrmAprovaParcial() = default;

void TfrmAprovaParcial::buildControls() {
    dialogs::addConfirmCancel(
        comps, [this] { sbtConfirmaClick(); }, [this] { sbtCancelClick(); });
    auto box = [this](const char* label, const char* caption, const char* name, const std::string& parent = {}) {
        comps.add(label, ControlKind::Label, parent, caption);
        auto& e = comps.add(name, ControlKind::Edit, parent);
        e.readOnly = true;
        e.enabled = false;
        return &e;
    };
    box("lblProduto", "Produto", "edtcdproduto");
    box("lblNomeProduto", "Nome do Produto", "edtNomeProduto");
    box("lblProcesso", "Processo", "edtNomeProcesso");
    box("lblLote", "Lote", "edtLote");
    for (auto* e : {box("lblQtAprovada", "Quantidade Aprovada", "edtQtAprovada"),
                    box("lblQtReprovada", "Quantidade Reprovada", "edtQtReprovada")})
        e->readOnly = false;
    box("lblSubLote", "Sub Lote", "edtSubLote")->maxLength = 4;
    comps["edtQtAprovada"].onExit = [this] { edtQtAprovadaExit(); };
    comps["edtQtReprovada"].onExit = [this] { edtQtReprovadaExit(); };

    comps.add("grbLocais", ControlKind::GroupBox, {}, "Locais de Movimentação");
    for (const auto& [label, caption, edit, check] :
         {std::tuple{"lblQuarentena", "Quarentena", "edtQuarentena", "ckbQua"},
          std::tuple{"lblAprovado", "Aprovado", "edtAprovado", "ckbAprova"},
          std::tuple{"lblReprovado", "Reprovado", "edtReprovado", "ckbReprova"}}) {
        box(label, caption, edit, "grbLocais");
        comps.add(check, ControlKind::CheckBox, "grbLocais", "Atual").enabled = false;
    }

    comps.addDataSource("dtsItemInsAudit", &cdsItemInsAudit);
    auto& g = comps.add("dbgItem", ControlKind::Grid);
    g.dataSource = "dtsItemInsAudit";
    g.readOnly = true;
    g.editing = false;
    g.columns = {
        {"IDOPCACEITIN", "Sit."},       {"NMINSPECAO", "Nome Análise"}, {"SGUNIDADE", "UN"},
        {"VRRESPINSAUD", "Resultado"},  {"NMRESPINSPEC", "Resposta"},   {"DSLIMIINSP", "Limite de Normalidade"},
        {"NMOPERADOR", "Nome Operador"}};
    for (auto& c : g.columns) c.readOnly = true;
    g.column("IDOPCACEITIN")->width = 40;
    g.column("IDOPCACEITIN")->onDraw = dbgItemDrawColumnCell;
    g.column("VRRESPINSAUD")->alignment = platform::Alignment::Right;
}

void TfrmAprovaParcial::FormCreate() {
    TfrmRotiGeral::FormCreate();
    buildControls();
    auto& s = mainScreen();
    auto& a = s.cdsAuditoria;
    a.field("CDARVPROD").editMask = platform::DBPict(0);
    comps["edtcdproduto"].mask = platform::DBPict(0);
    comps["edtcdproduto"].text = text(a, "CDARVPROD");
    comps["edtNomeProduto"].text = text(a, "NMPRODUTO");
    comps["edtNomeProcesso"].text = shown(a, "IDTPAUDITADO");
    comps["edtLote"].text = platform::AllTrim(text(a, "NRLOTEESTQ"));

    const std::string process = text(a, "IDTPAUDITADO");
    loadSets(process);
    if (s.boAprovacao)
        proposeQuantities();
    else
        showRecordedQuantities();
    showLocations(process);
}

void TfrmAprovaParcial::loadSets(const std::string& process) {
    auto& s = mainScreen();
    const auto& a = s.cdsAuditoria;
    auto& net = s.netPedidoAna;
    std::vector<core::Variant> request{text(a, "CDFILIAL"), text(a, "NRAUDITORIA")};
    dialogs::loadServer(net, "GetItensParciais", request, 6, cdsItemInsAudit);
    cdsItemInsAudit.field("VRRESPINSAUD").displayFormat = "#,##0.00000";
    std::vector<core::Variant> product{text(a, "CDFILIAL"), text(a, "CDPRODUTO")};
    dialogs::loadServer(net, "GetProdFili", product, 6, cdsProdFili);
    std::vector<core::Variant> branch{text(a, "CDFILIAL")};
    dialogs::loadServer(net, "GetParaMan", branch, 6, cdsParaMan);
    // Raw material and packaging wait in their receiving store; products in quarantine.
    const bool material = process == "M" || process == "E";
    std::vector<core::Variant> position{text(a, "CDPRODUTO"),
                                        text(a, "CDFILIAL"),
                                        text(cdsProdFili, material ? "CDALMOXARIFE" : "CDALMOXQUAR"),
                                        text(cdsProdFili, material ? "CDLOCALESTOQ" : "CDLOCALQUAR"),
                                        text(a, "NRLOTEESTQ"),
                                        text(a, "NRSUBLOTE"),
                                        core::DateTime::now()};
    dialogs::loadServer(net, "GetPosEstDia", position, 6, cdsPosestDia);
    cdsPosestDia.field("QTESTOQDIA").displayFormat = "#,##0.000";
}

void TfrmAprovaParcial::proposeQuantities() {
    auto& s = mainScreen();
    comps["edtQtAprovada"].enabled = true;
    comps["edtQtReprovada"].enabled = true;
    std::vector<core::Variant> lot{text(s.cdsAuditoria, "CDFILIAL"), text(s.cdsAuditoria, "NRLOTEESTQ")};
    dialogs::loadServer(s.netPedidoAna, "GetProxSubLote", lot, 6, cdsProxSubLote);
    const std::string highest = platform::AllTrim(text(cdsProxSubLote, "NRSUBLOTE"));
    std::string next = "0001";
    if (!highest.empty()) {
        const auto n = core::parseFloat(highest);
        if (!n || *n != static_cast<long long>(*n))
            platform::MensErro("Sub lote " + highest + " do lote não é numérico; informe o sub lote.", true);
        next = platform::Ajusta(std::to_string(static_cast<long long>(*n) + 1), 4);
    }
    comps["edtSubLote"].text = next;
    setQuantity("edtQtAprovada", stock());
    comps["edtQtReprovada"].text.clear();
    comps["edtSubLote"].enabled = false;
}

void TfrmAprovaParcial::showRecordedQuantities() {
    const auto& a = mainScreen().cdsAuditoria;
    for (const auto& [box, field] :
         {std::pair{"edtQtAprovada", "QTESTQAPROVA"}, std::pair{"edtQtReprovada", "QTESTQREPROVA"}}) {
        const bool recorded = a.active() && !a.isEmpty() && !a.field(field).isNull();
        comps[box].text = recorded ? core::formatFloat("", a.field(field).asFloat()) : std::string();
    }
    comps["edtSubLote"].text = text(a, "NRSUBLOTEPARC");
    for (const char* name : {"edtQtAprovada", "edtQtReprovada", "edtSubLote", "sbtConfirma"})
        comps[name].enabled = false;
}

void TfrmAprovaParcial::showLocations(const std::string& process) {
    auto& s = mainScreen();
    if (process == "M" || process == "E") {
        const bool inProgress = shown(s.cdsAuditoria, "IDSTATUSAUDI") == "Em Andamento";
        comps["ckbQua"].checked = inProgress;
        comps["ckbAprova"].checked = !inProgress;
        comps["ckbReprova"].checked = !inProgress;
        comps["edtQuarentena"].text = store(cdsProdFili, "CDALMOXARIFE", "DSALMOXARIFE");
        comps["edtAprovado"].text = store(cdsProdFili, "CDALMOXINSPR", "DSALMOXINSPR");
        comps["edtReprovado"].text = store(cdsProdFili, "CDALMOXREPROV", "DSALMOXREPROV");
    } else if (process == "A") {
        const bool noQuarantine = text(cdsParaMan, "IDUTSEGLIBLOTE") == "N" || text(cdsParaMan, "IDLIBLOTEEST") == "3";
        comps["edtQuarentena"].text =
            noQuarantine ? msgPadrao.Msg("nao_quarentena") : store(cdsProdFili, "CDALMOXQUAR", "DSALMOXQUAR");
        comps["edtAprovado"].text = store(cdsProdFili, "CDALMOXPRACA", "DSALMOXPRACA");
        comps["edtReprovado"].text = store(cdsProdFili, "CDALMOXREPROV", "DSALMOXREPROV");
    } else {
        for (const char* name : {"edtQtAprovada", "edtQtReprovada", "edtSubLote"}) comps[name].enabled = false;
        for (const char* name : {"edtQuarentena", "edtAprovado", "edtReprovado"})
            comps[name].text = msgPadrao.Msg("nao_movimenta");
    }
}

void TfrmAprovaParcial::FormClose() { boIdCriado = false; }

double TfrmAprovaParcial::stock() const {
    const auto& f = cdsPosestDia.field("QTESTOQDIA");
    return cdsPosestDia.isEmpty() || f.isNull() ? 0.0 : f.asFloat();
}

double TfrmAprovaParcial::quantityIn(const std::string& box) {
    const std::string typed = platform::AllTrim(comps[box].text);
    if (typed.empty()) return 0;
    const auto value = core::parseFloat(typed);
    if (!value) {
        comps.setFocus(box);
        platform::MensErro("'" + typed + "' não é um número válido.", true);
    }
    return *value;
}

// Quantities count to the thousandth, so a difference shows without binary residue.
void TfrmAprovaParcial::setQuantity(const std::string& box, double value) {
    comps[box].text = core::formatFloat("", core::roundDecimals(value, 3));
}

void TfrmAprovaParcial::edtQtAprovadaExit() { setQuantity("edtQtReprovada", stock() - quantityIn("edtQtAprovada")); }

void TfrmAprovaParcial::edtQtReprovadaExit() { setQuantity("edtQtAprovada", stock() - quantityIn("edtQtReprovada")); }

void TfrmAprovaParcial::sbtConfirmaClick() {
    if (platform::EmptyString(comps["edtLote"].text)) platform::MensErro(msgPadrao.Msg("sem_lote"), true);
    if (platform::EmptyString(text(cdsProdFili, "CDALMOXREPROV")))
        platform::MensErro(msgPadrao.Msg("sem_localRep"), true);
    const double approved = quantityIn("edtQtAprovada");
    const double rejected = quantityIn("edtQtReprovada");
    if ((core::compareQuantity(approved, 0) == 0 && core::compareQuantity(rejected, 0) == 0) ||
        core::compareQuantity(stock(), 0) == 0)
        platform::MensErro(msgPadrao.Msg("Rotina_Nao_Possivel"), true);
    // A negative part would leave negative stock behind, whatever the sum.
    if (core::compareQuantity(approved, 0) < 0 || core::compareQuantity(rejected, 0) < 0)
        platform::MensErro(msgPadrao.Msg("qtde_negativa"), true);
    if (!core::sameQuantity(approved + rejected, stock()))
        platform::MensErro(msgPadrao.Msg("valores_diferentes"), true);

    boCancela = false;
    edtQtAprovadaExit();
    edtQtReprovadaExit();
    auto& s = mainScreen();
    s.vrReprovada = quantityIn("edtQtReprovada");
    s.vrAprovada = quantityIn("edtQtAprovada");
    s.stNewSubLote = comps["edtSubLote"].text;
    ModalResult = platform::mrOk;
}

void TfrmAprovaParcial::sbtCancelClick() {
    btnFecharClick();
    boCancela = true;
    auto& s = mainScreen();
    screen::sbtVerificarClick(s);
}

void TfrmAprovaParcial::dbgItemDrawColumnCell(platform::CellDraw& cell) {
    if (cell.set.isEmpty()) return;
    const auto v = cell.value(cell.column.field);
    const std::string code = v.isNull() ? std::string() : v.asString();
    cell.text.clear();
    cell.image = code == "S" ? "imgOK" : code == "P" ? "imgPendente" : code == "N" ? "imgCancela" : "";
    cell.imageAlignment = platform::Alignment::Left;
}

void CriaAprovaParc() {
    boCancela = true;
    platform::DeactiveShowAvi();  // a save that asked for it may still show its animation
    dialogs::showFreshDialog(frmAprovaParcial, boIdCriado);
}

}  // namespace cli_mxa07307

// The request filter's checks (products, lots, dates, the confirm's order of
// refusals) and its lookups.
#include <cctype>

#include "core/format.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/request_filter.h"
#include "dialogs/server_call.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"

namespace cli_mxa07301 {

using platform::MensErro;

namespace {

[[noreturn]] void refuse(platform::ComponentModel& comps, const std::string& focus, const std::string& text) {
    comps.setFocus(focus);
    MensErro(text, true);
}

platform::TNetConnection& connection() {
    if (!screen::frmPedidoAna) throw core::Error("A tela de Pedido de Análise não está aberta.");
    return screen::frmPedidoAna->netPedidoAna;
}

}  // namespace

// The code typed in a masked product box: its characters without the picture's
// separators and blanks.
std::string TfrmFiltroPedido::productCode(const std::string& edit) const {
    std::string out;
    for (unsigned char ch : comps[edit].text)
        if (std::isalnum(ch)) out += static_cast<char>(ch);
    return out;
}

// A date box's text, empty when nothing but the mask's literals is in it.
std::string TfrmFiltroPedido::dateText(const std::string& edit) const {
    const std::string& t = comps[edit].text;
    for (unsigned char ch : t)
        if (std::isdigit(ch)) return platform::AllTrim(t);
    return {};
}

std::optional<core::DateTime> TfrmFiltroPedido::dateOf(const std::string& edit) const {
    const std::string t = dateText(edit);
    if (t.empty()) return std::nullopt;
    return core::parseDateTime(t);
}

// The date edit's own check: a filled date must be a real date.
void TfrmFiltroPedido::checkDate(const std::string& edit) {
    const std::string t = dateText(edit);
    if (t.empty()) return;
    const auto d = core::parseDateTime(t);
    if (d && d->days > 0) return;
    const std::string suffix = screen::frmPedidoAna ? screen::frmPedidoAna->msgPadrao.Msg("data")
                                                    : std::string(" não é uma data valida.");
    refuse(comps, edit, "\"" + t + "\"" + suffix);
}

void TfrmFiltroPedido::Vd_Produto(const std::string& MedAtivo) {
    const std::string name = MedAtivo == "medIni" ? "edtProdIni" : "edtProdFin";
    const std::string code = productCode(MedAtivo);
    if (code.empty()) {
        comps[name].text.clear();
        return;
    }
    qryVdProduto.ParamByName("P_CDARVPROD") = code;
    qryVdProduto.Open();
    if (qryVdProduto.isEmpty()) refuse(comps, MedAtivo, msgPadrao.Msg("Prod_NCad"));
    comps[name].text = qryVdProduto.field("NMPRODUTO").asString();
}

void TfrmFiltroPedido::Vd_Lote(const std::string& stCampo) {
    const std::string lot = comps["edtLote"].text, sub = comps["edtSubLote"].text;
    if (stCampo == "Lote") {
        if (lot.empty()) return;
        std::vector<core::Variant> args = {platform::FiliProc(), lot, std::string()};
        dialogs::loadServer(connection(), "GetLoteSublote", args, 1, cdsLoteSublote);
        if (cdsLoteSublote.isEmpty()) refuse(comps, "edtLote", msgPadrao.Msg("Lote_NCad"));
    } else {
        if (sub.empty()) return;
        std::vector<core::Variant> args = {platform::FiliProc(), lot, sub};
        dialogs::loadServer(connection(), "GetLoteSublote", args, 1, cdsLoteSublote);
        if (cdsLoteSublote.isEmpty()) refuse(comps, "edtSubLote", msgPadrao.Msg("SubLote_NCad"));
    }
}

void TfrmFiltroPedido::checkCriteria(bool strict) {
    const std::string ini = productCode("medIni"), fim = productCode("medFim");
    if (!ini.empty() && fim.empty()) refuse(comps, "medFim", msgPadrao.Msg("Intervalo_Fim"));
    if (ini.empty() && !fim.empty()) refuse(comps, "medIni", msgPadrao.Msg("Intervalo_Ini"));
    if (ini > fim) refuse(comps, "medIni", msgPadrao.Msg("Ini_Menor"));
    Vd_Produto("medIni");
    Vd_Produto("medFim");

    if (dateText("depIni").empty()) refuse(comps, "depIni", msgPadrao.Msg("Periodo_Ini"));
    if (dateText("depFim").empty()) refuse(comps, "depFim", msgPadrao.Msg("Periodo_Fim"));
    if (strict) {
        checkDate("depIni");
        checkDate("depFim");
    }
    const auto from = dateOf("depIni"), to = dateOf("depFim");
    if (from && to && *to < *from) refuse(comps, "depIni", msgPadrao.Msg("Periodo_Ini_Menor"));

    if (comps["rbtLOP"].checked && platform::EmptyString(stOP))
        refuse(comps, strict ? "rbtLOP" : "btpOP", msgPadrao.Msg("OP_deve"));
    if (comps["rbtListaSetor"].checked && platform::EmptyString(stSetor))
        refuse(comps, strict ? "rbtListaSetor" : "btpSetor", msgPadrao.Msg("Setor_deve"));

    if (strict) {
        Vd_Lote("Lote");
        Vd_Lote("SubLote");
    }
}

// --- lookups ---

namespace {

// The codes chosen in a multi-choice lookup, as the filter keeps them: "0001,0005".
std::string chosenCodes(core::RecordSet& set, const std::string& field, const std::vector<int>& rows) {
    std::string out;
    for (int row : rows) {
        if (!out.empty()) out += ",";
        out += platform::AllTrim(set.valueAt(row, field).asString());
    }
    return out;
}

}  // namespace

void TfrmFiltroPedido::btpLoteClick() {
    std::vector<core::Variant> args = {platform::FiliProc(), std::string(), std::string()};
    dialogs::loadServer(connection(), "GetLoteSublote", args, 1, cdsLoteSublote);
    if (!platform::Pesquisar(cdsLoteSublote, msgPadrao.Msg("Lote"), msgPadrao.Msg("Lote_Empty"))) return;
    // The lot first: changing it clears the sub-lot.
    dialogs::setControlText(comps, "edtLote", cdsLoteSublote.field("NRLOTEESTQ").asString());
    dialogs::setControlText(comps, "edtSubLote", cdsLoteSublote.field("NRSUBLOTE").asString());
}

void TfrmFiltroPedido::btpSetorClick() {
    qrySetor.close();
    qrySetor.Open();
    std::vector<int> chosen;
    if (platform::PesquisaLista(qrySetor, msgPadrao.Msg("Setor"), msgPadrao.Msg("Setor_nc"), chosen,
                                {"CDSETOR", "NMSETOR"}))
        stSetor = chosenCodes(qrySetor, "CDSETOR", chosen);
}

void TfrmFiltroPedido::btpOPClick() {
    std::vector<core::Variant> args = {platform::FiliProc()};
    dialogs::loadServer(connection(), "GetOP", args, 6, cdsOp);
    std::vector<int> chosen;
    if (platform::PesquisaLista(cdsOp, msgPadrao.Msg("OP"), msgPadrao.Msg("OP_nc"), chosen,
                                {"NRORDPROD", "NMPRODUTO"}))
        stOP = chosenCodes(cdsOp, "NRORDPROD", chosen);
}

void TfrmFiltroPedido::pickProduct(const std::string& code, const std::string& name) {
    qryProduto.close();
    qryProduto.Open();
    if (!platform::Pesquisar(qryProduto, "Produto", "Não há produto cadastrado.", {"CDARVPROD", "NMPRODUTO"}))
        return;
    dialogs::setControlText(comps, code, qryProduto.field("CDARVPROD").asString());
    comps[name].text = qryProduto.field("NMPRODUTO").asString();
}

void TfrmFiltroPedido::btpProdutoIniClick() {
    pickProduct("medIni", "edtProdIni");
}
void TfrmFiltroPedido::btpProdutoFinClick() {
    pickProduct("medFim", "edtProdFin");
}

}  // namespace cli_mxa07301

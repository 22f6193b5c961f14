// The header's field checks: product, lot and sub-lot, sector, supplier,
// equipment, brand, last analysis of a production order, hours and dates, and the
// production stage's start.
#include "screen/request/header_validation.h"

#include "core/error.h"
#include "core/format.h"
#include "platform/netconnection.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/request/header_validation_util.h"

namespace screen {

using header::assign;
using header::blank;
using header::boxText;
using header::clearValue;
using header::text;

namespace header {

void focusIfEnabled(TfrmPedidoAna& s, const std::string& control) {
    if (auto* c = s.comps.find(control); c && c->enabled) s.comps.setFocus(control);
}

void refuse(TfrmPedidoAna& s, const std::string& control, const std::string& key) {
    if (!control.empty() && s.comps.has(control)) s.comps.setFocus(control);
    platform::MensErro(s.msgPadrao.Msg(key));
}

bool blank(const std::string& v) { return platform::EmptyString(v); }

std::string text(const TfrmPedidoAna& s, const char* field) { return s.cdsAuditoria.field(field).asString(); }

void assign(TfrmPedidoAna& s, const char* field, const core::Value& v) {
    if (!editing(s)) return;
    auto& f = s.cdsAuditoria.field(field);
    // Writing the value a field already holds would mark the request changed for nothing.
    if (core::sameValue(f.value(), v.convertedTo(f.type()))) return;
    f.setValue(v);
}

void clearValue(TfrmPedidoAna& s, const char* field) {
    if (!editing(s) || s.cdsAuditoria.field(field).isNull()) return;
    s.cdsAuditoria.field(field).clear();
}

std::string boxText(TfrmPedidoAna& s, const std::string& box) {
    const auto& c = s.comps[box];
    if (c.dataField.empty()) return c.text;
    // A bound box shows its field; the view hands over what is typed but not yet stored.
    if (!c.text.empty() && s.comps.activeControl() == box) return c.text;
    return s.cdsAuditoria.field(c.dataField).text();
}

void showFormTab(TfrmPedidoAna& s) {
    if (s.comps.has("tshFormulario")) s.comps.setActiveTab("pgcPadrao", "tshFormulario");
}

}  // namespace header

bool editing(const TfrmPedidoAna& s) {
    const auto st = s.cdsAuditoria.state();
    return st == core::DataSetState::Edit || st == core::DataSetState::Insert;
}

void Vd_Produto(TfrmPedidoAna& s, bool obrigatorio) {
    try {
        const std::string code = text(s, "CDARVPROD");
        if (blank(code)) {
            clearValue(s, "CDPRODUTO");
            clearValue(s, "NMPRODUTO");
            if (obrigatorio) platform::MensErro(s.msgPadrao.Msg("Produto_Deve"));
            return;
        }
        // A code that does not fit the product picture cannot be a product.
        if (!platform::ValidEx({}, 0, code, "1")) platform::MensErro(s.msgPadrao.Msg("Produto_N_Cad"));
        platform::withShowAvi(1, [&] {
            platform::loadFromServer(
                s.cdsProduto, s.netPedidoAna.call("GetProduto", {std::to_string(platform::GetTtNiveis(0)), code}));
        });
        if (s.cdsProduto.isEmpty()) platform::MensErro(s.msgPadrao.Msg("Produto_N_Cad"));
        // Once a product demands the content, the request keeps demanding it.
        if (s.cdsProduto.field("IDTEOROBRIG").asString() == "S") assign(s, "IDTEOROBRIG", "S");
        assign(s, "CDARVPROD", s.cdsProduto.field("CDARVPROD").value());
        assign(s, "NMPRODUTO", s.cdsProduto.field("NMPRODUTO").value());
        assign(s, "CDPRODUTO", s.cdsProduto.field("CDPRODUTO").value());
        Vd_Teor(s);
    } catch (...) {
        if (s.comps.has("dbeProduto")) s.comps.setFocus("dbeProduto");
        throw;
    }
}

namespace {

void loadLote(TfrmPedidoAna& s, const std::string& lote, const std::string& subLote, const std::string& produto) {
    platform::withShowAvi(6, [&] {
        platform::loadFromServer(s.cdsLote,
                                 s.netPedidoAna.call("GetLote", {text(s, "CDFILIAL"), lote, subLote, produto}));
    });
}

[[noreturn]] void refuseLote(TfrmPedidoAna& s, const std::string& box, const std::string& key) {
    header::showFormTab(s);
    header::focusIfEnabled(s, box);
    platform::MensErro(s.msgPadrao.Msg(key));
}

}  // namespace

void Vd_Lote(TfrmPedidoAna& s, const std::string& tipo, bool obrigatorio) {
    if (!editing(s)) return;
    const std::string produto = text(s, "CDPRODUTO");
    const std::string lote = text(s, "NRLOTEESTQ");

    if (tipo == "L") {
        // A sub-lot names a part of a lot: without its lot it names nothing.
        if (obrigatorio && blank(lote) && !blank(text(s, "NRSUBLOTE"))) refuseLote(s, "dbeLote", "Lote_Deve");
        if (!blank(produto) && !blank(lote)) {
            loadLote(s, lote, "", produto);
            if (s.cdsLote.isEmpty()) refuseLote(s, "dbeLote", "Lote_N_Cad_Produto");
        } else if (!blank(lote)) {
            loadLote(s, lote, "", "");
            if (s.cdsLote.isEmpty()) refuseLote(s, "dbeLote", "Lote_N_Cad");
        }
        Vd_Teor(s);
        return;
    }
    if (tipo != "S") return;

    // A lot without sub-lot is stored with one blank.
    if (blank(text(s, "NRSUBLOTE"))) assign(s, "NRSUBLOTE", " ");
    const std::string subLote = text(s, "NRSUBLOTE");
    if (!blank(lote) && !blank(subLote)) loadLote(s, lote, subLote, blank(produto) ? std::string() : produto);
    if (s.cdsLote.isEmpty() && !blank(lote)) refuseLote(s, "dbeSubLote", "SubLote_N_Cad");

    // Without a lot the set may still hold an earlier lookup of another lot; its
    // dates must not reach this request.
    const bool found = !blank(lote) && !s.cdsLote.isEmpty();
    const std::string validade = found ? s.cdsLote.field("DTVALILOTE").asString() : std::string();
    const auto parsed = core::parseDateTime(validade);
    if (auto* box = s.comps.find("dbdDtValiLote")) box->text = validade;
    if (parsed)
        assign(s, "DTVALILOTE", *parsed);
    else
        clearValue(s, "DTVALILOTE");
    if (found) {
        assign(s, "NRLOTEFORN", s.cdsLote.field("NRLOTEFORN").value());
        assign(s, "DTFABRPROD", s.cdsLote.field("DTFABRPROD").value());
    } else {
        clearValue(s, "NRLOTEFORN");
        clearValue(s, "DTFABRPROD");
    }
    Vd_Teor(s);
}

void Vd_Setor(TfrmPedidoAna& s) {
    const std::string code = text(s, "CDSETEXECAUD");
    if (blank(code)) {
        clearValue(s, "NMSETOR");
        return;
    }
    const std::string adjusted = platform::Ajusta(code, 4);
    assign(s, "CDSETEXECAUD", adjusted);
    s.qryVdSetor.close();
    s.qryVdSetor.ParamByName("P_CDSETOR") = adjusted;
    s.qryVdSetor.Open();
    if (s.qryVdSetor.isEmpty()) header::refuse(s, "dbeSetor", "Setor_N_Cad");
    assign(s, "NMSETOR", s.qryVdSetor.field("NMSETOR").value());
}

void Vd_Fornecedor(TfrmPedidoAna& s, bool obrigatorio) {
    const std::string inscricao = text(s, "NRINSJURFORN");
    if (blank(inscricao)) {
        clearValue(s, "NMFANTFORN");
        if (obrigatorio) header::refuse(s, "dbeFornecedor", "Fornecedor_Deve");
        return;
    }
    s.qryVdFornecedor.close();
    s.qryVdFornecedor.ParamByName("P_NRINSJURFORN") = inscricao;
    try {
        s.qryVdFornecedor.Open();
    } catch (...) {
        if (s.comps.has("dbeFornecedor")) s.comps.setFocus("dbeFornecedor");
        throw;
    }
    if (s.qryVdFornecedor.isEmpty()) header::refuse(s, "dbeFornecedor", "Fornecedor_N_Cad");
    assign(s, "NMFANTFORN", s.qryVdFornecedor.field("NMFANTFORN").value());
    assign(s, "IDTPIJURFORN", s.qryVdFornecedor.field("IDTPIJURFORN").value());
    assign(s, "CDFORNECED", s.qryVdFornecedor.field("CDFORNECED").value());
}

void Vd_EquipProd(TfrmPedidoAna& s) {
    const std::string code = text(s, "CDEQUIPPRO");
    if (blank(code)) {
        clearValue(s, "NMEQUIPPRO");
        return;
    }
    try {
        const std::string adjusted = platform::Ajusta(code, 10);
        assign(s, "CDEQUIPPRO", adjusted);
        platform::withShowAvi(
            6, [&] { platform::loadFromServer(s.cdsVdEquipProd, s.netPedidoAna.call("GetVdEquipProd", {adjusted})); });
        if (s.cdsVdEquipProd.isEmpty()) platform::MensErro(s.msgPadrao.Msg("EquipProd_nc"));
        assign(s, "NMEQUIPPRO", s.cdsVdEquipProd.field("NMEQUIPPRO").value());
    } catch (...) {
        if (s.comps.has("dbeCdEquipProd")) s.comps.setFocus("dbeCdEquipProd");
        throw;
    }
}

void Vd_Marca(TfrmPedidoAna& s) {
    if (blank(boxText(s, "dbeMarcaProd"))) return;
    try {
        if (blank(text(s, "CDPRODUTO"))) Vd_Produto(s, true);
        // An existing request keeps the brand it was entered with.
        if (s.cdsAuditoria.state() != core::DataSetState::Insert) return;
        const std::string marca = platform::Ajusta(boxText(s, "dbeMarcaProd"), 5);
        if (blank(marca)) return;
        assign(s, "CDMARCAPROD", marca);
        platform::withShowAvi(6, [&] {
            platform::loadFromServer(s.cdsMarcaProd,
                                     s.netPedidoAna.call("getMarcaProd", {text(s, "CDPRODUTO"), marca}));
        });
        if (s.cdsMarcaProd.isEmpty()) platform::MensErro(s.msgPadrao.Msg("N_marca_prod"));
        assign(s, "CDMARCAPROD", s.cdsMarcaProd.field("CDMARCA").value());
        assign(s, "NMMARCA", s.cdsMarcaProd.field("NMMARCA").value());
    } catch (...) {
        header::focusIfEnabled(s, "dbeMarcaProd");
        throw;
    }
}

void Vd_UltimaAnalise(TfrmPedidoAna& s) {
    const std::string op = text(s, "NRORDPROD");
    const std::string subOp = text(s, "NRSUBORDPROD");
    if (blank(op) && blank(subOp)) {
        boUltAnalise = true;
        return;
    }
    platform::withShowAvi(6, [&] {
        platform::loadFromServer(
            s.cdsUltAnalise,
            s.netPedidoAna.call("getUltAnalise", {op, subOp, text(s, "NRAUDITORIA"), platform::FiliProc()}));
    });
    boUltAnalise = blank(s.cdsUltAnalise.field("NRAUDITORIA").asString());
}

namespace {

bool twoDigits(const std::string& part) {
    return part.size() == 2 && std::isdigit(static_cast<unsigned char>(part[0])) &&
           std::isdigit(static_cast<unsigned char>(part[1]));
}

}  // namespace

void Vd_Hora(TfrmPedidoAna& s, const std::string& box) {
    auto& c = s.comps[box];
    const std::string typed = c.text;
    // The mask keeps the colon third; a box text trimmed by the view still splits at it.
    std::string hour, minute;
    if (const auto colon = typed.find(':'); colon != std::string::npos) {
        hour = typed.substr(0, colon);
        minute = typed.substr(colon + 1);
    } else {
        hour = typed.substr(0, 2);
        minute = typed.size() > 3 ? typed.substr(3, 2) : std::string();
    }
    hour = platform::Ajusta(hour, 2);
    minute = platform::Ajusta(minute, 2);
    c.text = hour + ":" + minute;
    if (platform::AllTrim(c.text) == ":") return;
    // Compared as two-character texts: "24" and "60" are past the last hour and minute.
    const bool bad =
        blank(hour) || hour > "23" || blank(minute) || minute > "59" || !twoDigits(hour) || !twoDigits(minute);
    if (!bad) return;
    s.comps.setFocus(box);
    platform::MensErro("'" + c.text + "'" + s.msgPadrao.Msg("Hora_Inv"));
}

namespace {

// The date a box holds: its field's for a bound box, the typed text's otherwise.
std::optional<core::DateTime> boxDate(TfrmPedidoAna& s, const std::string& box) {
    const auto& c = s.comps[box];
    if (!c.dataField.empty()) {
        const auto& f = s.cdsAuditoria.field(c.dataField);
        if (!f.isNull()) return f.asDateTime();
    }
    return core::parseDateTime(boxText(s, box));
}

}  // namespace

void CheckValidDate(TfrmPedidoAna& s, const std::string& box) {
    const std::string typed = platform::AllTrim(boxText(s, box));
    if (typed.empty() || boxDate(s, box)) return;
    s.comps.setFocus(box);
    platform::MensErro("\"" + typed + "\"" + s.msgPadrao.Msg("data"));
}

void ValidaDataZ(TfrmPedidoAna& s, const std::string& box) {
    CheckValidDate(s, box);
    if (blank(boxText(s, box))) return;
    const auto date = boxDate(s, box);
    if (!date || date->days > 0) return;
    s.comps.setFocus(box);
    platform::MensErro("\"" + core::formatDateTime("ddddd", *date) + "\"" + s.msgPadrao.Msg("data"));
}

std::string OldValue(const TfrmPedidoAna& s, const std::string& field) {
    const core::Value old = s.cdsAuditoria.field(field).oldValue();
    return old.isNull() ? std::string() : old.asString();
}

void DtIniEtapa(TfrmPedidoAna& s) {
    const auto& a = s.cdsAuditoria;
    const std::vector<core::Variant> key = {a.field("CDFILIAL").asString(), a.field("NRORDPROD").asString(),
                                            a.field("NRSUBORDPROD").asString(), a.field("CDETAPAPROD").asString()};
    platform::withShowAvi(6, [&] {
        platform::loadFromServer(s.cdsDtIniEtapa, s.netPedidoAna.call("GetDtIniEtapa", std::vector(key)));
        if (s.cdsDtIniEtapa.isEmpty()) return;
        std::vector<core::Variant> args = {s.cdsDtIniEtapa.field("DATAINI").asDateTime()};
        args.insert(args.end(), key.begin(), key.end());
        platform::CheckResultServ(s.netPedidoAna.call("UdDtIniEtapa", args));
    });
}

}  // namespace screen

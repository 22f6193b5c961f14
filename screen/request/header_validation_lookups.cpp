// The header's lookup buttons: each fills its list before it opens and copies the
// chosen row into the request after a pick.
#include "core/error.h"
#include "platform/lookup_button.h"
#include "platform/netconnection.h"
#include "platform/services.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_state_util.h"
#include "screen/request/header_validation.h"
#include "screen/request/header_validation_util.h"

namespace screen {

using header::assign;
using header::blank;
using header::text;

namespace {

// A pick on a request being browsed starts its edit.
void startEdit(TfrmPedidoAna& s) { state::ensureEditing(s.cdsAuditoria); }

void copy(TfrmPedidoAna& s, const char* to, const core::RecordSet& from, const char* field) {
    assign(s, to, from.field(field).value());
}

}  // namespace

void btpLoteBeforePesq(TfrmPedidoAna& s, bool&) {
    const std::string produto = text(s, "CDPRODUTO");
    if (blank(produto)) {
        s.load(s.cdsPesqLote, "GetPesqLote", {text(s, "CDFILIAL"), ""});
        return;
    }
    s.load(s.cdsPesqLote, "GetPesqLote", {text(s, "CDFILIAL"), produto});
    if (s.cdsPesqLote.isEmpty()) platform::MensErro(s.msgPadrao.Msg("Lote_Vazio_Produto"));
}

void btpLoteAfterPesq(TfrmPedidoAna& s) {
    startEdit(s);
    const auto& l = s.cdsPesqLote;
    // In this order: a new lot clears the sub-lot and the dates, a new sub-lot the dates.
    copy(s, "NRLOTEESTQ", l, "NRLOTEESTQ");
    copy(s, "NRSUBLOTE", l, "NRSUBLOTE");
    copy(s, "DTVALILOTE", l, "DTVALILOTE");
    copy(s, "NRLOTEFORN", l, "NRLOTEFORN");
    copy(s, "DTFABRPROD", l, "DTFABRPROD");
    if (auto* box = s.comps.find("dbdDtValiLote")) box->text = s.cdsAuditoria.field("DTVALILOTE").text();
}

void btpProdutoBeforePesq(TfrmPedidoAna& s, bool&) {
    s.load(s.cdsProduto, "GetProduto", {std::to_string(platform::GetTtNiveis(0)), ""});
}

void btpProdutoAfterPesq(TfrmPedidoAna& s) {
    startEdit(s);
    copy(s, "CDARVPROD", s.cdsProduto, "CDARVPROD");
    copy(s, "CDPRODUTO", s.cdsProduto, "CDPRODUTO");
    copy(s, "NMPRODUTO", s.cdsProduto, "NMPRODUTO");
}

void btpSetorBeforePesq(TfrmPedidoAna& s, bool&) {
    s.qrySetor.close();
    s.qrySetor.ParamByName("P_CDSETOR") = core::Value();  // all sectors
    s.qrySetor.Open();
}

void btpSetorAfterPesq(TfrmPedidoAna& s) {
    startEdit(s);
    copy(s, "CDSETEXECAUD", s.qrySetor, "CDSETOR");
    copy(s, "NMSETOR", s.qrySetor, "NMSETOR");
}

void btpFornecedorBeforePesq(TfrmPedidoAna& s, bool&) {
    s.qryFornecedor.close();
    s.qryFornecedor.ParamByName("P_CDFORNECED") = core::Value();  // all suppliers
    s.qryFornecedor.Open();
}

void btpFornecedorAfterPesq(TfrmPedidoAna& s) {
    startEdit(s);
    copy(s, "CDFORNECED", s.qryFornecedor, "CDFORNECED");
    copy(s, "NMFANTFORN", s.qryFornecedor, "NMFANTFORN");
    copy(s, "NRINSJURFORN", s.qryFornecedor, "NRINSJURFORN");
    copy(s, "IDTPIJURFORN", s.qryFornecedor, "IDTPIJURFORN");
}

void btpEquipaProdBeforePesq(TfrmPedidoAna& s, bool&) { s.load(s.cdsEquipProd, "GetEquipProd", {}); }

void btpEquipaProdAfterPesq(TfrmPedidoAna& s) {
    startEdit(s);
    copy(s, "CDEQUIPPRO", s.cdsEquipProd, "CDEQUIPPRO");
    copy(s, "NMEQUIPPRO", s.cdsEquipProd, "NMEQUIPPRO");
}

void btnPesqMarcaBeforePesq(TfrmPedidoAna& s, bool&) {
    const std::string produto = text(s, "CDPRODUTO");
    if (blank(produto)) {
        // Without a product the list would still hold another product's brands.
        header::focusIfEnabled(s, "dbeProduto");
        platform::MensErro(s.msgPadrao.Msg("Produto_Deve"));
    }
    s.load(s.cdsMarcaProd, "getMarcaProd", {produto, ""});
    if (s.cdsMarcaProd.isEmpty()) header::refuse(s, "dbeMarcaProd", "N_marca_cad");
}

void btnPesqMarcaAfterPesq(TfrmPedidoAna& s) {
    assign(s, "CDMARCAPROD", s.cdsMarcaProd.field("CDMARCA").value());
    assign(s, "NMMARCA", s.cdsMarcaProd.field("NMMARCA").value());
}

namespace header {

// Ties a lookup button of the form to its handlers.
void wireLookup(TfrmPedidoAna& s, const std::string& name, const std::string& title, const std::string& emptyText,
                core::RecordSet& source, void (*before)(TfrmPedidoAna&, bool&), void (*after)(TfrmPedidoAna&)) {
    auto* c = s.comps.find(name);
    if (!c) return;
    auto button = std::make_shared<platform::TBtnPesquisa>();
    button->name = name;
    button->OnBeforePesq = [&s, before](bool& cancel) { before(s, cancel); };
    button->OnPesquisa = [&source, title, emptyText] {
        if (!platform::Pesquisar(source, title, emptyText)) throw core::Abort();
    };
    button->OnAfterPesq = [&s, after] { after(s); };
    c->caption.clear();
    c->hint = title;
    c->onClick = [button] { button->Click(); };
}

void wireLookups(TfrmPedidoAna& s) {
    wireLookup(s, "btpLote", "Lote", "Não há lote cadastrado.", s.cdsPesqLote, btpLoteBeforePesq, btpLoteAfterPesq);
    wireLookup(s, "btpProduto", "Produto", "Não há produto cadastrado", s.cdsProduto, btpProdutoBeforePesq,
               btpProdutoAfterPesq);
    wireLookup(s, "btpSetor", "Setor", "Não há setor cadastrado", s.qrySetor, btpSetorBeforePesq, btpSetorAfterPesq);
    wireLookup(s, "btpFornecedor", "Fornecedor", "Não há fornecedor cadastrado", s.qryFornecedor,
               btpFornecedorBeforePesq, btpFornecedorAfterPesq);
    wireLookup(s, "btpEquipaProd", "Equipamento", "Não há Equipamento cadastrado.", s.cdsEquipProd,
               btpEquipaProdBeforePesq, btpEquipaProdAfterPesq);
    wireLookup(s, "btnPesqMarca", "Produto", "Não há marca cadastrada para o produto informado.", s.cdsMarcaProd,
               btnPesqMarcaBeforePesq, btnPesqMarcaAfterPesq);
}

}  // namespace header

}  // namespace screen

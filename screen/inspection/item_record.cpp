// The item record cdsItemInsAudit: the texts of its codes, the checks of its
// analysis, operator and response, and the rules of a new, changed, saved and
// deleted item.
#include <exception>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/format.h"
#include "platform/host.h"
#include "platform/netconnection.h"
#include "platform/services.h"
#include "screen/conclusion/conclusion_check.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/protected_changes.h"
#include "screen/frame/screen_state_util.h"
#include "screen/inspection/inspection.h"
#include "screen/inspection/item.h"
#include "screen/request/request_save.h"

namespace screen {

namespace {

using state::blank;
using state::text;
using State = core::DataSetState;

void addItemMessages(TfrmPedidoAna& s) {
    auto& m = s.msgPadrao;
    m.add("VALR", "Valor");
    m.add("TEXT", "Texto Padrão");
    m.add("NADA", "Informado");
    m.add("I", "Indispensável");
    m.add("N", "Necessário");
    m.add("R", "Recomendável");
    m.add("F", "Informativo");
    m.add("C", "Compatibilidade");
    m.add("ind", "Indetectável");
    m.add("inc", "Incontável");
    m.add("Correto", "Correto");
    m.add("Aceitável", "Aceitável");
    m.add("Errada", "Errado");
    m.add("NivAnt_Inv", "Análise deve ser do mesmo nível anterior que a análise informada.");
    m.add("Inspec_jcad", "Análise já cadastrada.");
    m.add("Operador", "Operador");
    m.add("Operador_Deve", "Operador deve ser informado.");
    m.add("Operador_N_Cad", "Operador não cadastrado.");
    m.add("OperadorN_Cad", "Não há operador cadastrado.");
    m.add("Resposta", "Resposta");
    m.add("N_Resposta_Cad", "Não há resposta cadastrada para a análise informada.");
    m.add("N_Resposta_Cad_Prod", "Resposta não cadastrada para análise, produto e processo informados.");
    m.add("Resposta_N_Cad", "Resposta não cadastrada para análise informada.");
    m.add("Resp_nc_valor", "Não há resposta cadastrada para a análise de acordo com o valor informado.");
    m.add("nao_cadastrada_incontavel",
          "O tipo de resposta incontável não é permitido para essa análise pois não faz parte do perfil de "
          "Produto x Análise para essa Resposta.");
    m.add("nao_cadastrada_INDE",
          "O tipo de resposta indetectável não é permitido para essa análise pois não faz parte do perfil de "
          "Produto x Análise para essa Resposta.");
    m.add("sem_vige",
          "Produto possui controle de vesão no perfil de Produto x Análise mas a data atual está fora de "
          "vigência, desta forma não é permitido lançamento de análise.");
    m.add("sub_lote_percial", "Não é permitida a aprovação parcial de itens para análise de sub lote.");
}

core::RecordSet& items(TfrmPedidoAna& s) { return s.cdsItemInsAudit; }

// Runs a check; a refusal puts the focus on the item's column first.
template <class Check>
void focusingOn(TfrmPedidoAna& s, const char* field, Check&& check) {
    try {
        check();
    } catch (...) {
        focusColumn(s, "dbgItem", field);
        throw;
    }
}

// The points of a response as the look-ups show them.
std::string pointsText(const TfrmPedidoAna& s, const core::Field& f) {
    if (f.isNull()) return {};
    const double v = f.asFloat();
    return v == 0   ? s.msgPadrao.Msg("Correto")
           : v == 1 ? s.msgPadrao.Msg("Aceitável")
           : v == 2 ? s.msgPadrao.Msg("Errada")
                    : "";
}

// The item's changes to the server, merged once it took them; a refusal drops them so
// the grid shows what the server holds.
void sendItems(TfrmPedidoAna& s) {
    auto& it = items(s);
    if (it.changeCount() == 0) return;
    try {
        platform::CheckResultServ(s.netPedidoAna.call("SetItemInsAudit", {it.delta(), it.nullFieldList()}));
        it.mergeChangeLog();
    } catch (...) {
        it.cancelUpdates();
        save::raiseSaveError(s, std::current_exception());
    }
}

// A changed answer makes its inspection pending again: started (now, when it had no
// start), not concluded. The screen posts it itself, without the user's checks.
void reopenInspection(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    if (i.isEmpty()) return;
    const bool started = !i.field("DTINIRINSAUD").isNull();
    if (started && i.field("DTFINRINSAUD").isNull() && text(i, "IDINSPCONC") == "P") return;
    const std::string item = text(items(s), "CDINSPECAO");
    postBySystem(i, [&] {
        if (!started) {
            const std::string now = core::formatDateTime("ddddd hh:nn", platform::DtServ("H"));
            i.field("DTINIRINSAUD").setText(now);
        }
        i.field("DTFINRINSAUD").clear();
        i.field("IDINSPCONC").setValue("P");
        // The server forgets who concluded it; the row must say the same, or its next
        // save would find the record changed.
        setConcludingOperator(s);
    });
    // The inspection's save answers its items again: stay on the one just saved.
    items(s).locate({"CDINSPECAO"}, {core::Value(item)});
}

}  // namespace

std::string responseProduct(const TfrmPedidoAna& s) {
    const std::string previous = text(s.cdsAuditoria, "CDPRODANTE");
    return blank(previous) ? text(s.cdsAuditoria, "CDPRODUTO") : previous;
}

std::string versionText(const TfrmPedidoAna& s) {
    const std::string v = text(s.cdsVersao, "CDVERSAO");
    return blank(v) ? std::string("x") : v;
}

namespace {

// A catalogue query closed with its parameters bound: the analysis, and for a
// product's rows the product, process and version ("x" for none).
platform::TADOIBQuery& bound(platform::TADOIBQuery& q, const std::string& analysis, const std::string& product = {},
                             const std::string& process = {}, const std::string& version = {}) {
    q.close();
    q.ParamByName("P_CDINSPECAO") = core::Value(analysis);
    if (!blank(product)) {
        q.ParamByName("P_CDPRODUTO") = core::Value(product);
        q.ParamByName("P_IDRESPPROC") = core::Value(process);
        q.ParamByName("P_CDVERSAO") = core::Value(blank(version) ? std::string("x") : version);
    }
    return q;
}

}  // namespace

bool ExistRespProd(TfrmPedidoAna& s, const std::string& analysis, const std::string& product,
                   const std::string& process, const std::string& version) {
    auto& q = blank(product) ? bound(s.qryExistRespProdNull, analysis)
                             : bound(s.qryExistRespProd, analysis, product, process, version);
    q.Open();
    return !q.isEmpty();
}

platform::TADOIBQuery& catalogueQuery(TfrmPedidoAna& s, platform::TADOIBQuery& own, platform::TADOIBQuery& general,
                                      const std::string& product) {
    const std::string analysis = text(items(s), "CDINSPECAO"), process = text(s.cdsAuditoria, "IDTPAUDITADO");
    const std::string version = versionText(s);
    if (!blank(product) && ExistRespProd(s, analysis, product, process, version))
        return bound(own, analysis, product, process, version);
    return bound(general, analysis);
}

void Vd_InspUltNiv(TfrmPedidoAna& s, bool obligatory) {
    auto& it = items(s);
    focusingOn(s, "CDARVINSPEC", [&] {
        const std::string code = text(it, "CDARVINSPEC");
        if (blank(code)) {
            for (const char* f : {"CDINSPECAO", "NMINSPECAO", "IDTPRESPINSP"}) it.field(f).clear();
            if (obligatory) platform::MensErro(s.msgPadrao.Msg("Analise_Deve"));
            return;
        }
        const int last = platform::GetTtNiveis(12);
        if (!platform::ValidEx("", 12, code)) platform::MensErro(s.msgPadrao.Msg("Analise_N_Cad"));
        const auto& q = openAnalysis(s, last, code);
        if (q.isEmpty()) {
            it.field("CDINSPECAO").clear();
            it.field("NMINSPECAO").clear();
            platform::MensErro(s.msgPadrao.Msg("Analise_N_Cad"));
        }
        for (const char* f : {"CDINSPECAO", "NMINSPECAO", "IDTPRESPINSP"}) it.field(f).setValue(q.field(f).value());
        const auto parent = static_cast<size_t>(platform::TamAcNivel(12, last - 1));
        if (code.substr(0, parent) != text(s.cdsInspecAudit, "CDARVINSPEC"))
            platform::MensErro(s.msgPadrao.Msg("NivAnt_Inv"));
        const auto& i = s.cdsInspecAudit;
        s.load(s.cdsVdInspUltNiv, "GetVdInspUltNiv",
               {code, text(i, "CDFILIAL"), text(i, "NRAUDITORIA"), text(i, "NRINSPECAUDI")});
        if (!s.cdsVdInspUltNiv.isEmpty()) platform::MensErro(s.msgPadrao.Msg("Inspec_jcad"));
    });
}

void Vd_Operador(TfrmPedidoAna& s, bool obligatory, const char* codeField, const char* nameField) {
    auto& it = items(s);
    focusingOn(s, codeField, [&] {
        auto& code = it.field(codeField);
        if (blank(code.asString())) {
            if (obligatory) platform::MensErro(s.msgPadrao.Msg("Operador_Deve"));
            return;
        }
        code.setValue(platform::Ajusta(code.asString(), code.size()));
        auto& q = s.qryVdOperador;
        q.close();
        q.ParamByName("P_CDOPERADOR") = core::Value(code.asString());
        q.Open();
        if (q.isEmpty()) platform::MensErro(s.msgPadrao.Msg("Operador_N_Cad"));
        it.field(nameField).setValue(q.field("NMOPERADOR").value());
    });
}

void Vd_Resposta(TfrmPedidoAna& s) {
    auto& it = items(s);
    if (text(it, "IDTPRESPINSP") == "VALR") return;
    focusingOn(s, "CDRESPINSPEC", [&] {
        if (blank(text(it, "CDRESPINSPEC"))) {
            it.field("SGUNIDADE").clear();
            return;
        }
        it.field("CDRESPINSPEC").setValue(platform::Ajusta(text(it, "CDRESPINSPEC"), 5));
        stVersao = versionText(s);
        auto& q = catalogueQuery(s, s.qryVdRespProd, s.qryVdResposta, responseProduct(s));
        q.ParamByName("P_CDRESPINSPEC") = core::Value(text(it, "CDRESPINSPEC"));
        q.Open();
        if (q.isEmpty())
            platform::MensErro(s.msgPadrao.Msg(&q == &s.qryVdRespProd ? "N_Resposta_Cad_Prod" : "Resposta_N_Cad"));
        for (const char* f : {"NMRESPINSPEC", "VRPONTRESINS", "SGUNIDADE"}) it.field(f).setValue(q.field(f).value());
        const auto& points = it.field("VRPONTRESINS");
        it.field("IDOPCACEITIN").setValue(!points.isNull() && points.asFloat() > 1 ? "N" : "S");
    });
}

void immeasurableFromText(TfrmPedidoAna& s) {
    auto& it = items(s);
    const std::string shown = it.field("RESULTADO").displayText();
    if (shown == s.msgPadrao.Msg("ind"))
        it.field("IDRESULTIMENS").setValue("D");
    else if (shown == s.msgPadrao.Msg("inc"))
        it.field("IDRESULTIMENS").setValue("T");
}

void cdsItemInsAuditBeforeInsert(TfrmPedidoAna& s) {
    if (closedRequest(s)) throw core::Abort();
}

void cdsItemInsAuditNewRecord(TfrmPedidoAna& s) {
    auto& it = items(s);
    const auto& i = s.cdsInspecAudit;
    it.field("IDOPCACEITIN").setValue("P");
    it.field("IDPARCIAL").setValue("N");
    for (const char* f : {"CDFILIAL", "NRAUDITORIA", "NRINSPECAUDI"}) it.field(f).setValue(text(i, f));
    it.field("CDOPERADOR").setValue(platform::Operador());
    it.field("NMOPERADOR").setValue(platform::NomeOperador());
}

void cdsItemInsAuditAfterInsert(TfrmPedidoAna& s) {
    focusColumn(s, "dbgItem", "CDARVINSPEC");
    // The code is typed here now: the cell opens for it.
    if (s.comps.has("dbgItem")) dbgItemColEnter(s);
}

void cdsItemInsAuditBeforeEdit(TfrmPedidoAna& s) {
    if (closedRequest(s)) throw core::Abort();
}

void cdsItemInsAuditAfterEdit(TfrmPedidoAna& s) {
    auto& it = items(s);
    it.field("CDOPERADOR").setValue(platform::Operador());
    it.field("NMOPERADOR").setValue(platform::NomeOperador());
    immeasurableFromText(s);
}

void cdsItemInsAuditAfterPost(TfrmPedidoAna& s) {
    sendItems(s);
    auto& a = s.cdsAuditoria;
    if (const std::string sit = text(a, "IDSTATUSAUDI"); sit == "1" || sit == "4" || sit == "5")
        setRequestSituation(s, "2", true);
    reopenInspection(s);
    updateReopenedLot(s);
    boControle = true;
    if (s.comps.has("dbgItem") && s.comps.activeControl() != "dbgItem") s.comps.setFocus("dbgItem");
}

void cdsItemInsAuditBeforeDelete(TfrmPedidoAna& s) {
    if (text(s.cdsAuditoria, "IDSTATUSAUDI") == "3") throw core::Abort();
    if (boExistePermAltItem && refusedProtectedChange(s, "IEIA")) throw core::Abort();
}

void cdsItemInsAuditAfterDelete(TfrmPedidoAna& s) {
    sendItems(s);
    if (items(s).isEmpty() && s.comps.has("dbgInspecAudit")) s.comps.setFocus("dbgInspecAudit");
    sbtVerificarClick(s);
}

void cdsItemInsAuditAfterCancel(TfrmPedidoAna& s) { items(s).cancelUpdates(); }

void cdsItemInsAuditAfterScroll(TfrmPedidoAna& s) {
    auto& it = items(s);
    auto* g = s.comps.find("dbgItem");
    if (g)
        if (auto* c = g->column("CDRESPINSPEC")) c->button = text(it, "IDTPRESPINSP") != "VALR";
    const core::RecordSet* base = s.padrao();
    if (it.isEmpty()) {
        if (s.cdsDsProd.active()) s.cdsDsProd.emptyDataSet();
    } else if (!base || !state::editing(*base)) {
        const auto& a = s.cdsAuditoria;
        s.load(s.cdsDsProd, "GetDescInsAudit", {text(a, "CDFILIAL"), text(a, "NRAUDITORIA"), text(it, "CDINSPECAO")});
    }
    if (g) dbgItemColEnter(s);
}

void setupItemRecord(TfrmPedidoAna& s) {
    addItemMessages(s);
    auto& it = items(s);
    it.field("CDINSPECAO").editMask = "9999999999;0; ";
    it.field("CDOPERADOR").editMask = "999999999999;0; ";
    it.field("IDOPCACEITIN").editMask = "l;0; ";
    it.field("CDRESPINSPEC").editMask = "99999;0; ";
    it.field("VRRESPINSAUD").displayFormat = "#,##0.00000";
    for (const char* f :
         {"CDFILIAL", "NRAUDITORIA", "NRINSPECAUDI", "SGUNIDADE", "NMRESPINSPEC", "VRPONTRESINS", "IDATEITEINSP",
          "DSANALISE", "SGUNRESPOSTA", "IDPARCIAL", "RESULTADO", "IDRESULTIMENS", "NMRESPTEXT"})
        it.field(f).visible = false;
    // The response type and the importance show as their texts.
    for (const char* f : {"IDTPRESPINSP", "IDATEITEINSP"})
        it.field(f).onGetText = [&s](const core::Field& field, bool) {
            return field.asString().empty() ? std::string() : s.msgPadrao.Msg(field.asString());
        };
    // An immeasurable result is kept as its code in both fields, shown as its text.
    auto& result = it.field("RESULTADO");
    result.onGetText = [&s](const core::Field& f, bool) {
        const std::string v = f.asString();
        return v == "D" ? s.msgPadrao.Msg("ind") : v == "T" ? s.msgPadrao.Msg("inc") : v;
    };
    result.onSetText = [&s](core::Field& f, const std::string& typed) {
        const std::string code = typed == s.msgPadrao.Msg("ind") ? "D" : typed == s.msgPadrao.Msg("inc") ? "T" : "";
        if (code.empty()) return;
        f.setValue(code);
        f.dataSet().field("IDRESULTIMENS").setValue(code);
    };
    // A measured value replaces an immeasurable result.
    it.field("VRRESPINSAUD").onChange.connect([](core::Field& f) {
        if (f.isNull()) return;
        f.dataSet().field("IDRESULTIMENS").clear();
        f.dataSet().field("RESULTADO").clear();
    });
    for (auto* q : {&s.qryResposta, &s.qryRespGeral})
        q->field("VRPONTRESINS").onGetText = [&s](const core::Field& f, bool) { return pointsText(s, f); };

    it.beforeInsert.connect([&s](core::RecordSet&) { cdsItemInsAuditBeforeInsert(s); });
    it.onNewRecord.connect([&s](core::RecordSet&) { cdsItemInsAuditNewRecord(s); });
    it.afterInsert.connect([&s](core::RecordSet&) { cdsItemInsAuditAfterInsert(s); });
    it.beforeEdit.connect([&s](core::RecordSet&) { cdsItemInsAuditBeforeEdit(s); });
    it.afterEdit.connect([&s](core::RecordSet&) { cdsItemInsAuditAfterEdit(s); });
    it.beforePost.connect([&s](core::RecordSet&) { cdsItemInsAuditBeforePost(s); });
    it.afterPost.connect([&s](core::RecordSet&) { cdsItemInsAuditAfterPost(s); });
    it.beforeDelete.connect([&s](core::RecordSet&) { cdsItemInsAuditBeforeDelete(s); });
    it.afterDelete.connect([&s](core::RecordSet&) { cdsItemInsAuditAfterDelete(s); });
    it.afterCancel.connect([&s](core::RecordSet&) { cdsItemInsAuditAfterCancel(s); });
    it.afterScroll.connect([&s](core::RecordSet&) { cdsItemInsAuditAfterScroll(s); });
}

}  // namespace screen

// Judging an item's answer: a measured value or an immeasurable result against the
// ranges of the response catalogue, the words of its normal range, and the whole
// set of checks before an item is saved.
#include <optional>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/normal_range.h"
#include "platform/netconnection.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/protected_changes.h"
#include "screen/frame/screen_state_util.h"
#include "screen/inspection/inspection.h"
#include "screen/inspection/item.h"

namespace screen {

namespace {

using state::blank;
using state::text;
using State = core::DataSetState;

std::optional<double> bound(const core::Field& f) {
    return f.isNull() ? std::nullopt : std::optional<double>(f.asFloat());
}

// cdsResultado from the response product's catalogue when it has rows for the
// analysis, else from the general one.
void loadResults(TfrmPedidoAna& s) {
    const auto& it = s.cdsItemInsAudit;
    const auto& a = s.cdsAuditoria;
    const std::string product = responseProduct(s), analysis = text(it, "CDINSPECAO");
    const std::string process = text(a, "IDTPAUDITADO"), version = text(s.cdsVersao, "CDVERSAO");
    if (!blank(product) && ExistRespProd(s, analysis, product, process, version))
        s.load(s.cdsResultado, "GetResultado", {1, product, process, analysis, version});
    else
        s.load(s.cdsResultado, "GetResultado", {2, std::string(), std::string(), analysis, std::string()});
}

void leavePending(core::RecordSet& it) {
    it.field("NMRESPINSPEC").clear();
    it.field("CDRESPINSPEC").clear();
    it.field("IDOPCACEITIN").setValue("P");
}

bool resultIs(const core::RecordSet& it, const std::string& code, const std::string& text) {
    const auto& f = it.field("RESULTADO");
    return f.asString() == code || f.displayText() == text;
}

core::RangeWords rangeWords(const TfrmPedidoAna& s) {
    const auto& m = s.msgPadrao;
    return {m.Msg("Maior que"), m.Msg("Menor que"), m.Msg("Entre"), m.Msg("and"),
            m.Msg("MaIgual"),   m.Msg("MeIgual"),   m.Msg("ind"),   m.Msg("inc")};
}

}  // namespace

void Vd_Resultado(TfrmPedidoAna& s) {
    auto& it = s.cdsItemInsAudit;
    if (text(it, "IDTPRESPINSP") != "VALR") return;
    if (it.field("VRRESPINSAUD").isNull() && blank(text(it, "IDRESULTIMENS"))) {
        leavePending(it);
        it.field("SGUNIDADE").clear();
        return;
    }
    try {
        loadResults(s);
        auto& r = s.cdsResultado;
        if (r.isEmpty()) platform::MensErro(s.msgPadrao.Msg("N_Resposta_Cad"));
        const double v = it.field("VRRESPINSAUD").isNull() ? 0.0 : it.field("VRRESPINSAUD").asFloat();
        const std::string undetectable = s.msgPadrao.Msg("ind"), uncountable = s.msgPadrao.Msg("inc");
        bool matched = false;
        for (r.first(); !r.eof() && !matched; r.next()) {
            const std::string kind = text(r, "IDFAIXRESINS");
            if (core::numericRangeKind(kind)) {
                if (!core::rangeHolds(kind, bound(r.field("VRINIFAIXRES")), bound(r.field("VRFINFAIXRES")), v))
                    continue;
                const auto& points = r.field("VRPONTRESINS");
                const bool rejected = !points.isNull() && static_cast<int64_t>(points.asFloat()) >= 2;
                it.field("NMRESPINSPEC").setValue(r.field("NMRESPINSPEC").value());
                it.field("IDOPCACEITIN").setValue(rejected ? "N" : "S");
            } else if (kind == "D" && resultIs(it, "D", undetectable)) {
                it.field("IDRESULTIMENS").setValue("D");
                it.field("NMRESPINSPEC").setValue(undetectable);
                it.field("IDOPCACEITIN").setValue("S");
            } else if (kind == "T" && resultIs(it, "T", uncountable)) {
                it.field("IDRESULTIMENS").setValue("T");
                it.field("NMRESPINSPEC").setValue(uncountable);
                it.field("IDOPCACEITIN").setValue("N");
            } else {
                continue;
            }
            it.field("CDRESPINSPEC").setValue(r.field("CDRESPINSPEC").value());
            it.field("SGUNIDADE").setValue(r.field("SGUNIDADE").value());
            matched = true;
        }
        if (!matched) platform::MensErro(s.msgPadrao.Msg("Resp_nc_valor"));
    } catch (...) {
        leavePending(it);
        focusColumn(s, "dbgItem", "VRRESPINSAUD");
        throw;
    }
}

void loadImmeasurable(TfrmPedidoAna& s) {
    s.load(s.cdsExisteImensu, "GetExisteImensu",
           {text(s.cdsItemInsAudit, "CDINSPECAO"), "A", text(s.cdsAuditoria, "CDPRODUTO"), versionText(s)});
}

void checkImmeasurableProfile(TfrmPedidoAna& s) {
    auto& it = s.cdsItemInsAudit;
    auto& ranges = s.cdsExisteImensu;
    loadImmeasurable(s);
    const std::string result = text(it, "IDRESULTIMENS");
    const auto refuseWithout = [&](const char* kind, const char* key) {
        ranges.setFilter([kind](const core::RecordSet& r) { return r.field("IDFAIXRESINS").asString() == kind; });
        const bool offered = !ranges.isEmpty();
        ranges.clearFilter();
        if (result == kind && !offered) {
            focusColumn(s, "dbgItem", "RESULTADO");
            platform::MensErro(s.msgPadrao.Msg(key));
        }
    };
    refuseWithout("T", "nao_cadastrada_incontavel");
    refuseWithout("D", "nao_cadastrada_INDE");
}

void composeNormalRange(TfrmPedidoAna& s, bool atSave) {
    auto& it = s.cdsItemInsAudit;
    const std::string product = atSave ? responseProduct(s) : text(s.cdsAuditoria, "CDPRODUTO");
    auto* q = &catalogueQuery(s, s.qryLimNorm, s.qryLimNormNull, product);
    q->Open();
    if (q->isEmpty()) return;
    q->first();
    const std::string kind = text(*q, "IDFAIXRESINS");
    const auto low = bound(q->field("VRINIFAIXRES"));
    // Leaving a column only rewrites the words of a numeric range with its lower bound.
    if (!atSave && (!low || !core::numericRangeKind(kind))) return;
    if (!low) {
        it.field("DSLIMIINSP").clear();
        return;
    }
    if (const auto words = core::normalRangeText(kind, low, bound(q->field("VRFINFAIXRES")), rangeWords(s)))
        it.field("DSLIMIINSP").setValue(*words);
}

void cdsItemInsAuditBeforePost(TfrmPedidoAna& s) {
    auto& it = s.cdsItemInsAudit;
    const bool inserting = it.state() == State::Insert;
    stVersao = versionText(s);              // 1
    checkImmeasurableProfile(s);            // 2-4
    if (inserting) Vd_InspUltNiv(s, true);  // 5
    const std::string kind = text(it, "IDTPRESPINSP");
    if (kind == "VALR") Vd_Resultado(s);                                                   // 6
    Vd_Resposta(s);                                                                        // 7
    if (closedRequest(s) && boAlteraStatus) {                                              // 8
        authorizeOrCancel(s, "", "ALTC");
        boPermi = true;
    }
    if (inserting && (kind == "VALR" || kind == "TEXT")) composeNormalRange(s, true);    // 9
    if (!blank(text(it, "IDRESULTIMENS"))) it.field("VRRESPINSAUD").clear();             // 10
    if (!it.field("VRRESPINSAUD").isNull() && it.field("VRRESPINSAUD").asFloat() > 0) {  // 11
        it.field("IDRESULTIMENS").clear();
        it.field("RESULTADO").clear();
    }
    Vd_Operador(s, true, "CDOPERADOR", "NMOPERADOR");                               // 12
    if (inserting && boExistePermAltItem && refusedProtectedChange(s, "IEIA")) throw core::Abort();  // 13
    if (blank(text(it, "CDRESPINSPEC"))) it.field("IDOPCACEITIN").setValue("P");    // 14
    platform::Seta_Campo_Null(it);                                                  // 15
}

}  // namespace screen

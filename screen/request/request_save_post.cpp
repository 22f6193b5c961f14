// The header's rules before a post: versions, situations and their authorizations,
// the field checks, dates and hours, numbering, the conclusion's moment and time
// spent, content, and the hand-over to partial approval.
#include <cmath>

#include "core/error.h"
#include "core/format.h"
#include "platform/host.h"
#include "platform/netconnection.h"
#include "platform/services.h"
#include "screen/conclusion/save_checks.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/protected_changes.h"
#include "screen/frame/screen_state.h"
#include "screen/request/header_validation.h"
#include "screen/request/header_validation_util.h"
#include "screen/request/request_save.h"
#include "screen/side_dialogs.h"

namespace screen {

using header::blank;
using header::text;

namespace {

bool isOneOf(const std::string& v, std::initializer_list<const char*> codes) {
    for (const char* c : codes)
        if (v == c) return true;
    return false;
}

bool concluding(const std::string& situation) { return isOneOf(situation, {"4", "5"}); }

std::string paramMXA(const TfrmPedidoAna& s, const char* field) { return s.cdsParamMXA.field(field).asString(); }

bool usesRelease(const TfrmPedidoAna& s) { return paramMXA(s, "IDUTSEGLIBANA") == "S"; }

bool filled(const core::Field& f) {
    return !f.isNull() && !(f.type() == core::FieldType::DateTime && f.asDateTime().isZero());
}

// An hour box's "hh:nn" as a fraction of a day; a box without an hour gives 0.
double hourOfBox(TfrmPedidoAna& s, const std::string& box) {
    const std::string typed = platform::AllTrim(s.comps[box].text);
    const auto colon = typed.find(':');
    if (colon == std::string::npos) return 0;
    try {
        const int h = std::stoi(typed.substr(0, colon));
        const int m = std::stoi(typed.substr(colon + 1));
        return (h * 60 + m) / 1440.0;
    } catch (const std::exception&) {
        return 0;
    }
}

bool noHour(TfrmPedidoAna& s, const std::string& box) {
    const std::string typed = platform::AllTrim(s.comps[box].text);
    return typed.empty() || typed == ":";
}

// The content refusals put the form back as the user left it, on the content box.
[[noreturn]] void refuseContent(TfrmPedidoAna& s, const std::string& oldSituation, const char* key) {
    boConcAnalise = false;
    header::assign(s, "IDSTATUSAUDI", oldSituation);
    header::showFormTab(s);
    boControle = true;
    s.pgcPadraoChange();
    dtsPadraoStateChange(s);
    if (s.comps.has("dbeDosagem")) s.comps.setFocus("dbeDosagem");
    platform::MensErro(s.msgPadrao.Msg(key));
}

// Field checks, situations, dates and numbering: what the user typed, skipped while a
// routine of the screen posts the request itself.
void checkUserEntry(TfrmPedidoAna& s, bool inserting, const std::string& oldSit) {
    auto& a = s.cdsAuditoria;
    const auto newSit = [&] { return text(s, "IDSTATUSAUDI"); };

    Vd_Produto(s, true);  // 9.1
    Vd_Teor(s);
    Vd_Lote(s, "L", true);
    Vd_Lote(s, "S", true);
    Vd_Setor(s);
    Vd_EquipProd(s);
    Vd_Fornecedor(s, false);
    ValidaDataZ(s, "dbdData");
    Vd_Marca(s);
    for (const char* box : {"dbdDtAmos", "dbdDataPrev", "dbdDtValiLote"}) ValidaDataZ(s, box);

    if (isOneOf(newSit(), {"3", "4", "5"}) && !boLibAna && boAlteraStatus)  // 9.2
        authorizeOrCancel(s, text(s, "NRAUDITORIA"), "ALTC");

    if (blank(text(s, "IDTPAUDITADO")) && !blank(text(s, "CDPRODUTO")))  // 9.3
        header::refuse(s, "dbcProcesso", "Proc_deve");

    if (!inserting) {  // 9.4
        if (oldSit != "1" && newSit() == "1") header::refuse(s, "dbcSit", "Sit_nPend");
        if (oldSit == "3" && newSit() != "3") header::refuse(s, "dbcSit", "Situ_NAnda");
    }

    if (concluding(newSit())) {  // 9.5
        const std::vector<core::Variant> key = {text(s, "CDFILIAL"), text(s, "NRAUDITORIA")};
        platform::withShowAvi(6, [&] {
            platform::loadFromServer(s.cdsVdInsAudPen, s.netPedidoAna.call("GetVdInsAudPen", std::vector(key)));
            if (s.cdsInspecAudit.isEmpty())
                platform::loadFromServer(s.cdsInspecAudit, s.netPedidoAna.call("GetInspecAudit", std::vector(key)));
        });
        if (!s.cdsVdInsAudPen.isEmpty() || s.cdsInspecAudit.isEmpty()) {
            if (usesRelease(s)) {
                if (!inserting) a.cancelUpdates();
                platform::MensErro(s.msgPadrao.Msg("Sit_nconc"));
            }
            header::refuse(s, "dbcSit", "Sit_nconc");
        }
        platform::withShowAvi(6, [&] {
            platform::loadFromServer(s.cdsVdInsAudCon, s.netPedidoAna.call("GetVdInsAudCon", std::vector(key)));
        });
        // Rows mean an inspection was concluded not OK, as the conclusion reads them.
        if (!s.cdsVdInsAudCon.isEmpty() && newSit() == "4") platform::MensErro(s.msgPadrao.Msg("Sit_nconcOK"));
        if (s.cdsVdInsAudCon.isEmpty() && newSit() == "5") platform::MensErro(s.msgPadrao.Msg("Sit_nconcNOK"));
    }

    Vd_Hora(s, "medHora");  // 9.6
    Vd_Hora(s, "medHoraPrev");

    if (blank(header::boxText(s, "dbdData"))) header::refuse(s, "dbdData", "Data_Deve");  // 9.7
    CheckValidDate(s, "dbdData");

    if (noHour(s, "medHora")) header::refuse(s, "medHora", "Hora_Deve");  // 9.8

    const bool planned = filled(a.field("DATAPREVFIM"));  // 9.9
    if (!planned && !noHour(s, "medHoraPrev")) header::refuse(s, "dbdDataPrev", "DataPrev_Deve");
    if (planned && noHour(s, "medHoraPrev")) header::refuse(s, "medHoraPrev", "Hora_Deve");

    // 9.10: the date box may carry a time of day (a new request's does); the hour box decides it.
    const core::DateTime inclusion(a.field("DATA").asDateTime().datePart().days + hourOfBox(s, "medHora"));
    header::assign(s, "DTINCLAUDIT", inclusion);
    // The hour box shows HORA: it keeps the hour the request was saved with.
    header::assign(s, "HORA", inclusion);
    if (planned) {
        const core::DateTime end(a.field("DATAPREVFIM").asDateTime().datePart().days + hourOfBox(s, "medHoraPrev"));
        header::assign(s, "DTFINPREVAUD", end);
        header::assign(s, "HORAPREVFIM", end);
    } else {
        header::clearValue(s, "DTFINPREVAUD");
        header::clearValue(s, "HORAPREVFIM");
    }

    if (planned && a.field("DTFINPREVAUD").asDateTime() <= a.field("DTINCLAUDIT").asDateTime()) {  // 9.11
        const auto* box = s.comps.find("dbdData");
        header::refuse(s, box && box->enabled ? "dbdData" : "dbdDataPrev", "DtInc>DtPrev");
    }

    if (blank(text(s, "DSREFEAUDIT"))) header::refuse(s, "dbeDesc", "Descricao_Deve");  // 9.12

    if (inserting) {  // 9.13: read directly; no number leaves it empty
        const core::Variant next = s.netPedidoAna.call("GetPrxAuditoria", {text(s, "CDFILIAL")});
        if (!next.isError() && !next.value.isNull()) a.field("NRAUDITORIA").setValue(next.value.asString());
    }
}

// 11: when the analysis ends and how long it took.
void concludeTimes(TfrmPedidoAna& s) {
    auto& a = s.cdsAuditoria;
    platform::withShowAvi(6, [&] {
        platform::loadFromServer(s.cdsDtAudit,
                                 s.netPedidoAna.call("GetDtAudit", {text(s, "CDFILIAL"), text(s, "NRAUDITORIA")}));
    });
    const auto& conc = s.cdsDtAudit.field("DATACONC");
    core::DateTime moment;
    if (filled(conc)) {
        moment = conc.asDateTime();
    } else {
        // The server's clock to the minute.
        const core::DateTime now = platform::DtServ("H");
        moment = core::parseDateTime(core::formatDateTime("ddddd hh:nn", now)).value_or(now);
    }
    a.field("DTFINREALAUD").setValue(usesRelease(s) ? core::DateTime::now() : moment);
    const core::DateTime start = s.cdsDtAudit.field("DATAINI").asDateTime();
    a.field("QTHRAUDIT").setValue(platform::StTimeToReal(platform::SubtDataHora(start, moment)));
}

}  // namespace

bool partialAllowed(const TfrmPedidoAna& s, const std::string& process) {
    const char* field = process == "M"   ? "IDPARCMATPRIMA"
                        : process == "E" ? "IDPARCEMBALAGEM"
                        : process == "P" ? "IDPARCPROCESSO"
                        : process == "A" ? "IDPARCACABADO"
                                         : nullptr;
    return field && paramMXA(s, field) == "S";
}

void loadVersions(TfrmPedidoAna& s) {
    const auto& a = s.cdsAuditoria;
    core::DateTime reference = a.field("DTINCLAUDIT").asDateTime();
    if (!filled(a.field("DTINCLAUDIT"))) reference = a.field("DATA").asDateTime().datePart();
    platform::withShowAvi(0, [&] {
        platform::loadFromServer(s.cdsVdVersao,
                                 s.netPedidoAna.call("GetVd_Versao", {text(s, "CDPRODUTO"), text(s, "IDTPAUDITADO")}));
        std::vector<core::Variant> args = {text(s, "CDPRODUTO"), reference, text(s, "IDTPAUDITADO")};
        platform::loadFromServer(s.cdsVersao, s.netPedidoAna.call("GetVersao", args));
    });
}

void cdsAuditoriaBeforePost(TfrmPedidoAna& s) {
    auto& a = s.cdsAuditoria;
    const bool inserting = a.state() == core::DataSetState::Insert;
    const std::string oldSit = OldValue(s, "IDSTATUSAUDI");
    const auto newSit = [&] { return text(s, "IDSTATUSAUDI"); };

    // 1, 2: a product under version control needs a version valid at the request date.
    loadVersions(s);
    if (!s.cdsVdVersao.isEmpty() && s.cdsVersao.isEmpty()) header::refuse(s, "", "sem_vige");

    boConcAnalise = false;  // 3
    // An earlier partial approval's quantities must not travel with this save: only a
    // partial approval confirmed during it sets them again (step 22).
    s.vrAprovada = 0;
    s.vrReprovada = 0;
    s.stNewSubLote.clear();
    DtConclusaoAux = a.field("DTFINREALAUD").asDateTime();

    // 4: reopening through the list, once per current request.
    if (!boPermi && isOneOf(oldSit, {"3", "4", "5"}) && newSit() != "1" && boAlteraStatus) {
        authorizeOrCancel(s, "", "ALTC");
        boPermi = true;
    }

    // 5: without the release step, a pending or running request follows its items.
    if (!usesRelease(s) && !boAlteraStatus && isOneOf(newSit(), {"1", "2"})) {
        const core::Variant items =
            s.netPedidoAna.call("GetStatusItens", {text(s, "CDFILIAL"), text(s, "NRAUDITORIA")});
        platform::CheckResultServ(items);
        const std::string sit = items.value.isNull() ? std::string() : items.value.asString();
        if (!blank(sit)) header::assign(s, "IDSTATUSAUDI", sit);
    }

    Vd_UltimaAnalise(s);                                                              // 6
    if (!inserting && concluding(newSit()) && boUltAnalise) boConcAnalise = true;     // 7
    if (text(s, "IDCOMPATIBILIDADE") == "S" && boConcAnalise) Vd_Compatibilidade(s);  // 8

    if (boControle) checkUserEntry(s, inserting, oldSit);  // 9

    Vd_Teor(s);                                  // 10
    if (concluding(newSit())) concludeTimes(s);  // 11

    const auto* compat = s.comps.find("chbAnaCompat");
    const bool compatibility = compat && compat->checked;
    if (inserting) a.field("IDCOMPATIBILIDADE").setValue(compatibility ? "S" : "N");  // 12

    platform::Seta_Campo_Null(a);  // 13
    if (blank(text(s, "NRSUBLOTE"))) header::assign(s, "NRSUBLOTE", " ");

    if (boVdTeorVazio) refuseContent(s, oldSit, "teor_inf");  // 14
    if (boVdTeorInv) refuseContent(s, oldSit, "teor_invalido");

    if (!usesRelease(s) && concluding(newSit()) && !platform::Autorizacao(platform::Operador(), "CANA"))  // 15
        platform::MensErro(s.msgPadrao.Msg("OPER_N_ALT"));

    if (boAlteraStatus && concluding(oldSit) && newSit() == "2" && !blank(text(s, "NRLOTEESTQ")))  // 16
        Verifica_Lote_Utilizado(s);
    if (boAlteraStatus && newSit() == "2") header::clearValue(s, "DTFINREALAUD");  // 17

    if (boConcAnalise && s.cdsParamFilial.field("IDUTILLOTE").asString() != "S")  // 18
        s.msgPadrao.ShowMsg("trans_not_ok", platform::MsgType::Information, platform::MsgButtons::Ok);

    if (boConcAnalise || (oldSit == "1" && newSit() == "2")) Verifica_Validade_Alterada(s);  // 19
    if (inserting) Verifica_Processo(s);                                                     // 20

    stIdAna.assign(1, compatibility ? 'C' : 'A');  // 21

    // 22: a conclusion of a lot with items marked for partial approval hands over to it.
    platform::loadFromServer(s.cdsExisteParcial,
                             s.netPedidoAna.call("GetQtItensParciais", {text(s, "CDFILIAL"), text(s, "NRAUDITORIA")}));
    if (s.cdsExisteParcial.field("QTINSPEC").asFloat() > 0 && partialAllowed(s, text(s, "IDTPAUDITADO")) &&
        boConcAnalise) {
        s.boAprovacao = true;
        if (sideDialogs().CriaAprovaParc()) throw core::Abort();
    }
}

}  // namespace screen

// The inspection record cdsInspecAudit: its formats and texts, and the rules of a new,
// changed, saved and deleted inspection.
#include <exception>

#include "core/error.h"
#include "core/format.h"
#include "platform/host.h"
#include "platform/netconnection.h"
#include "platform/services.h"
#include "screen/conclusion/conclusion_check.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/protected_changes.h"
#include "screen/frame/screen_state.h"
#include "screen/frame/screen_state_util.h"
#include "screen/inspection/inspection.h"
#include "screen/request/header_validation.h"
#include "screen/request/request_save.h"

namespace screen {

namespace {

using state::blank;
using state::text;
using State = core::DataSetState;

void addInspectionMessages(TfrmPedidoAna& s) {
    auto& m = s.msgPadrao;
    m.add("A_2", "Análise");
    m.add("R_2", "Re-Análise");
    m.add("Analise", "Análise");
    m.add("AnaliseN_Cad", "Não há análise cadastrada.");
    m.add("Analise_Deve", "Análise deve ser informada.");
    m.add("Analise_Nivel", "Análise deve ser informada até o penúltimo nível.");
    m.add("Analise_N_Cad", "Análise não cadastrada ou inativa.");
    m.add("DtIni_Maior", "Data\\horário início deve ser maior ou igual a data\\horário do pedido.");
    m.add("data_Ini_deve", "Data de início deve ser informada.");
    m.add("data_ini>", "Data\\horário de início deve ser menor ou igual a data\\horário de conclusão.");
    m.add("atualize", "Dt. previsão deve ser atualizada.");
    m.add("Cobaia", "Cobaia");
    m.add("Cobaia_NCad", "Cobaia não cadastrada ou indisponível para a dt. início.");
    m.add("CobaiaN_Cad", "Não há cobaia cadastrada ou disponível a partir da dt. início.");
    m.add("Ana_nConc", "Análise não pode ser concluída. Existe(m) item(s) de análise não realizado(s).");
    // The words of an item's normal range, sent with every inspection save.
    m.add("and", " e ");
    m.add("MaIgual", "Maior ou Igual à");
    m.add("MeIgual", "Menor ou Igual à ");
}

// SetInspecAudit after a post or a delete: the change log, the request's product and
// process, the words of the normal range and the current inspection, whose items
// come back into cdsItemInsAudit. A refusal drops the pending changes, so the grid
// shows what the server holds.
void sendInspections(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    if (i.changeCount() == 0) return;
    const auto& a = s.cdsAuditoria;
    const auto msg = [&](const char* key) { return s.msgPadrao.Msg(key); };
    try {
        std::vector<core::Variant> args{i.delta(),
                                        i.nullFieldList(),
                                        text(a, "CDPRODUTO"),
                                        text(a, "CDPRODANTE"),
                                        text(a, "IDTPAUDITADO"),
                                        msg("Maior que"),
                                        msg("Menor que"),
                                        msg("Entre"),
                                        msg("and"),
                                        text(i, "CDFILIAL"),
                                        text(i, "NRAUDITORIA"),
                                        text(i, "NRINSPECAUDI"),
                                        msg("MaIgual"),
                                        msg("MeIgual")};
        const core::Variant result =
            platform::withShowAvi(6, [&] { return s.netPedidoAna.call("SetInspecAudit", args); });
        platform::loadFromServer(s.cdsItemInsAudit, result);
        i.mergeChangeLog();
    } catch (...) {
        i.cancelUpdates();
        save::raiseSaveError(s, std::current_exception());
    }
}

}  // namespace

void setConcludingOperator(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    if (i.field("DTFINRINSAUD").isNull()) {
        i.field("CDOPECONCINS").clear();
        i.field("NMOPERADOR").clear();
    } else {
        i.field("CDOPECONCINS").setValue(platform::Operador());
        i.field("NMOPERADOR").setValue(platform::NomeOperador());
    }
}

namespace {

// A concluded test subject rests: one history row from today until its start plus the
// branch's minimum interval, unless it already rests.
void recordRestPeriod(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    const std::string subject = text(i, "CDCOBAIA");
    if (blank(subject)) return;
    const core::DateTime today = platform::DtServ();
    s.load(s.cdsVerHistCob, "GetVerHistCob", {subject, today});
    if (!s.cdsVerHistCob.isEmpty()) return;
    s.load(s.cdsParamMXA, "GetParamMXA", {platform::FiliProc()});
    const std::string minimum = platform::AllTrim(text(s.cdsParamMXA, "NRDIAMINQUA"));
    const double days = minimum.empty() ? 0.0 : core::parseFloat(minimum).value_or(0.0);
    const double until = i.field("DTINIRINSAUD").asDateTime().days + days;
    platform::CheckResultServ(s.netPedidoAna.call("InsHistCob", {subject, today, until}));
}

}  // namespace

bool closedRequest(const TfrmPedidoAna& s) { return state::closedSituation(text(s.cdsAuditoria, "IDSTATUSAUDI")); }

platform::TADOIBQuery& openAnalysis(TfrmPedidoAna& s, int level, const std::string& code) {
    auto& q = s.qryVdInspecao;
    q.close();
    q.ParamByName("P_CDNVINSPECAO") = core::Value(std::to_string(level));
    q.ParamByName("P_CDARVINSPEC") = core::Value(code);
    q.Open();
    return q;
}

void focusColumn(TfrmPedidoAna& s, const char* grid, const char* field) {
    auto* g = s.comps.find(grid);
    if (!g) return;
    const int col = platform::IndiceCol(*g, field);
    if (col >= 0) g->selectedColumn = col;
    s.comps.setFocus(grid);
}

void Vd_Inspecao(TfrmPedidoAna& s, bool obligatory) {
    auto& i = s.cdsInspecAudit;
    const std::string code = text(i, "CDARVINSPEC");
    if (blank(code)) {
        if (obligatory) platform::MensErro(s.msgPadrao.Msg("Analise_Deve"));
        return;
    }
    const int level = platform::GetTtNiveis(12) - 1;
    if (platform::Nivel(12, code) != level) platform::MensErro(s.msgPadrao.Msg("Analise_Nivel"));
    const auto& q = openAnalysis(s, level, code);
    if (q.isEmpty()) platform::MensErro(s.msgPadrao.Msg("Analise_N_Cad"));
    i.field("CDINSPECAO").setValue(q.field("CDINSPECAO").value());
    i.field("NMINSPECAO").setValue(q.field("NMINSPECAO").value());
}

void Vd_Cobaia(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    if (!state::editing(i)) return;
    try {
        const std::string code = text(i, "CDCOBAIA");
        if (blank(code)) {
            i.field("NMCOBAIA").clear();
            return;
        }
        i.field("CDCOBAIA").setValue(platform::Ajusta(code, 10));
        if (i.field("DTINIRINSAUD").isNull()) platform::MensErro(s.msgPadrao.Msg("Cobaia_NCad"));
        s.load(s.cdsPesqCobaia, "GetPesqCobaia",
               {i.field("DTINIRINSAUD").asDateTime(), text(i, "CDCOBAIA"), std::string()});
        if (s.cdsPesqCobaia.isEmpty()) platform::MensErro(s.msgPadrao.Msg("Cobaia_NCad"));
        i.field("NMCOBAIA").setValue(s.cdsPesqCobaia.field("NMCOBAIA").value());
    } catch (...) {
        focusColumn(s, "dbgInspecAudit", "CDCOBAIA");
        throw;
    }
}

void cdsInspecAuditBeforeInsert(TfrmPedidoAna& s) {
    boIdInsert = true;
    if (text(s.cdsAuditoria, "IDSTATUSAUDI") == "3") throw core::Abort();
}

void cdsInspecAuditNewRecord(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    const auto& a = s.cdsAuditoria;
    s.load(s.cdsPrxInspecAudit, "GetPrxInspecAudit", {text(a, "CDFILIAL"), text(a, "NRAUDITORIA")});
    i.field("CDFILIAL").setValue(text(a, "CDFILIAL"));
    i.field("NRAUDITORIA").setValue(text(a, "NRAUDITORIA"));
    i.field("NRINSPECAUDI").setValue(platform::Ajusta(text(s.cdsPrxInspecAudit, "NRINSPECAUDI"), 3));
    i.field("IDNOVAAMOSTR").setValue("N");
    i.field("IDINSPCONC").setValue("P");
    // A new inspection is a first analysis until the user says otherwise.
    i.field("IDTIPOINSAUD").setValue("A");
}

void cdsInspecAuditAfterInsert(TfrmPedidoAna& s) {
    focusColumn(s, "dbgInspecAudit", "CDARVINSPEC");
    // The code is typed here now: the cell opens for it.
    if (s.comps.has("dbgInspecAudit")) dbgInspecAuditColEnter(s);
}

void cdsInspecAuditBeforeEdit(TfrmPedidoAna& s) {
    boIdInsert = false;
    if (closedRequest(s)) throw core::Abort();
}

void cdsInspecAuditBeforePost(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    const auto& a = s.cdsAuditoria;
    const bool inserting = i.state() == State::Insert;
    auto& start = i.field("DTINIRINSAUD");
    auto& end = i.field("DTFINRINSAUD");
    const auto refuse = [&](const char* key) {
        focusColumn(s, "dbgInspecAudit", "DTINIRINSAUD");
        platform::MensErro(s.msgPadrao.Msg(key));
    };
    if (boControle) {
        if (closedRequest(s) && boAlteraStatus) {  // 1
            authorizeOrCancel(s, "", "ALTC");
            boPermi = true;
        }
        if (inserting) Vd_Inspecao(s, true);  // 2
        if (!start.isNull() && !a.field("DTINCLAUDIT").isNull() &&
            a.field("DTINCLAUDIT").asDateTime().days > start.asDateTime().days)
            refuse("DtIni_Maior");                                     // 3
        if (!end.isNull() && start.isNull()) refuse("data_Ini_deve");  // 4
        if (!end.isNull() && !start.isNull() && end.asDateTime().days > 0 &&
            start.asDateTime().days > end.asDateTime().days)
            refuse("data_ini>");              // 5
        Vd_Cobaia(s);                         // 6
        if (!platform::CheckDateTime(end)) {  // 7
            i.field("IDINSPCONC").setValue("P");
        } else {
            SitConc(s);
            recordRestPeriod(s);
        }
        const auto oldType = i.field("IDTIPOINSAUD").oldValue();  // 8
        if ((oldType.isNull() || oldType.asString() != "R") && text(i, "IDTIPOINSAUD") == "R")
            s.msgPadrao.ShowMsg("atualize", platform::MsgType::Information);
        setConcludingOperator(s);                                                       // 9
        if (inserting && boExistePermAltItem && refusedProtectedChange(s, "IEIA")) throw core::Abort();  // 10
    }
    if (i.field("TXINSPECAUDI").isNull()) i.field("TXINSPECAUDI").setValue("");  // 11
    i.field("QTHRINSAUD").setValue(platform::StTimeToReal(text(i, "TEMPO")));    // 12
    platform::Seta_Campo_Null(i);
}

void cdsInspecAuditAfterPost(TfrmPedidoAna& s) {
    sendInspections(s);
    if (boControle) Verifica_Conclusao(s);
    DtIniEtapa(s);
}

void cdsInspecAuditBeforeDelete(TfrmPedidoAna& s) {
    if (text(s.cdsAuditoria, "IDSTATUSAUDI") == "3") throw core::Abort();
    if (boExistePermAltItem && refusedProtectedChange(s, "IEIA")) throw core::Abort();
}

void cdsInspecAuditAfterDelete(TfrmPedidoAna& s) {
    sendInspections(s);
    if (!s.cdsInspecAudit.isEmpty())
        Verifica_Conclusao(s);
    else if (const std::string sit = text(s.cdsAuditoria, "IDSTATUSAUDI"); sit == "1" || sit == "4" || sit == "5")
        setRequestSituation(s, "2", true);
    sbtVerificarClick(s);
}

void cdsInspecAuditAfterCancel(TfrmPedidoAna& s) { s.cdsInspecAudit.cancelUpdates(); }

void cdsInspecAuditAfterScroll(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    if (i.state() != State::Insert) {
        if (auto* g = s.comps.find("dbgInspecAudit")) {
            const std::string col = g->selectedField();
            g->editing = col != "CDARVINSPEC" && col != "IDINSPCONC";
        }
    }
    if (boControle) loadItems(s);
}

void cdsInspecAuditCalcFields(TfrmPedidoAna& s) {
    auto& i = s.cdsInspecAudit;
    const auto& start = i.field("DTINIRINSAUD");
    const auto& end = i.field("DTFINRINSAUD");
    if (!start.isNull() && !end.isNull())
        i.field("TEMPO").setValue(platform::SubtDataHora(start.asDateTime(), end.asDateTime()));
    else
        i.field("TEMPO").clear();
}

void setupInspectionRecord(TfrmPedidoAna& s) {
    addInspectionMessages(s);
    auto& i = s.cdsInspecAudit;
    i.field("CDFILIAL").editMask = "9999;0; ";
    i.field("NRINSPECAUDI").editMask = "999;0; ";
    i.field("CDOPERADOR").editMask = "999999999999;0; ";
    i.field("IDNOVAAMOSTR").editMask = "l;0; ";
    for (const char* name :
         {"CDOPERADOR", "CDOPECONCINS", "TXINSPECAUDI", "CDCOBAIA", "NMCOBAIA", "CDORDEMAUDIT", "TEMPO", "DSANALISE"})
        i.field(name).visible = false;
    i.field("TEMPO").label = "Tempo Gasto";
    for (const char* name : {"DTINIRINSAUD", "DTFINRINSAUD"}) {
        i.field(name).displayFormat = "ddddd hh:nn";
        i.field(name).onSetText = [](core::Field& f, const std::string& typed) { platform::CheckDateTime(f, typed); };
    }
    // The type shows as its text; only one of the two texts changes it.
    auto& type = i.field("IDTIPOINSAUD");
    type.onGetText = [&s](const core::Field& f, bool) {
        return f.asString().empty() ? std::string() : s.msgPadrao.Msg(f.asString() + "_2");
    };
    type.onSetText = [&s](core::Field& f, const std::string& typed) {
        if (typed == s.msgPadrao.Msg("A_2"))
            f.setValue("A");
        else if (typed == s.msgPadrao.Msg("R_2"))
            f.setValue("R");
    };

    i.beforeInsert.connect([&s](core::RecordSet&) { cdsInspecAuditBeforeInsert(s); });
    i.onNewRecord.connect([&s](core::RecordSet&) { cdsInspecAuditNewRecord(s); });
    i.afterInsert.connect([&s](core::RecordSet&) { cdsInspecAuditAfterInsert(s); });
    i.beforeEdit.connect([&s](core::RecordSet&) { cdsInspecAuditBeforeEdit(s); });
    i.beforePost.connect([&s](core::RecordSet&) { cdsInspecAuditBeforePost(s); });
    i.afterPost.connect([&s](core::RecordSet&) { cdsInspecAuditAfterPost(s); });
    i.beforeDelete.connect([&s](core::RecordSet&) { cdsInspecAuditBeforeDelete(s); });
    i.afterDelete.connect([&s](core::RecordSet&) { cdsInspecAuditAfterDelete(s); });
    i.afterCancel.connect([&s](core::RecordSet&) { cdsInspecAuditAfterCancel(s); });
    i.afterScroll.connect([&s](core::RecordSet&) { cdsInspecAuditAfterScroll(s); });
    i.onCalcFields.connect([&s](core::RecordSet&) { cdsInspecAuditCalcFields(s); });
}

}  // namespace screen

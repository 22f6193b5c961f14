#include "screen/request/request_record.h"

#include <cmath>

#include "core/format.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"

namespace screen {

namespace {

constexpr const char* kSituations[] = {"1", "2", "3", "4", "5"};
constexpr const char* kProcesses[] = {"M", "E", "P", "A"};
constexpr const char* kNumberMask = "9999999999;0; ";

// A code shown as its message text; an empty code shows nothing rather than the
// table's answer for an empty key.
void showAsText(TfrmPedidoAna& s, core::Field& f, const char* const* codes, int count) {
    f.onGetText = [&s](const core::Field& field, bool) {
        const std::string code = field.asString();
        return code.empty() ? std::string() : s.msgPadrao.Msg(code);
    };
    // Only one of the list's own texts changes the code; anything else leaves it.
    f.onSetText = [&s, codes, count](core::Field& field, const std::string& text) {
        const std::string code = codeOfText(s, text, codes, count);
        if (!code.empty()) field.setValue(code);
    };
}

platform::Control* control(TfrmPedidoAna& s, const char* name) {
    return s.comps.find(name);
}

void setEnabled(TfrmPedidoAna& s, const char* name, bool on) {
    if (auto* c = control(s, name)) c->enabled = on;
}

}  // namespace

std::string codeOfText(const TfrmPedidoAna& s, const std::string& text, const char* const* codes, int count) {
    for (int i = 0; i < count; ++i)
        if (s.msgPadrao.Msg(codes[i]) == text) return codes[i];
    return {};
}

void setupRequestRecord(TfrmPedidoAna& s) {
    auto& a = s.cdsAuditoria;
    // Read by the date checks of the side dialogs.
    if (!s.msgPadrao.has("data")) s.msgPadrao.add("data", " não é uma data valida.");

    for (const char* name : {"DTINCLAUDIT", "DTFINPREVAUD", "DTFINREALAUD"})
        a.field(name).displayFormat = "ddddd hh:nn";
    a.field("DATA").displayFormat = "ddddd";
    a.field("DATAPREVFIM").displayFormat = "ddddd";
    a.field("HORA").displayFormat = "hh:nn";
    a.field("HORAPREVFIM").displayFormat = "hh:nn";
    for (const char* name : {"NRORDPROD", "CDEQUIPPRO", "NRAUDITORIA"}) a.field(name).editMask = kNumberMask;
    a.field("CDFORNECED").editMask = "999999999999999999999;0; ";
    a.field("VRAPRPRODAUD").displayFormat = "#,##0.000";
    a.field("VRAPRPRODAUD").editFormat = "###0.000";
    a.field("QTAMOSAUDI").displayFormat = "#,##0.000";
    a.field("QTAMOSAUDI").editFormat = "#,##0.000";
    for (const char* name : {"DTVALILOTE", "DTFABRPROD", "DTAMOSAUDI"}) a.field(name).displayFormat = "ddddd";

    showAsText(s, a.field("IDSTATUSAUDI"), kSituations, 5);
    showAsText(s, a.field("IDTPAUDITADO"), kProcesses, 4);

    auto& hours = a.field("QTHRAUDIT");
    hours.onGetText = [](const core::Field& f, bool) {
        const double v = f.asFloat();
        return v == 0.0 || !std::isfinite(v) ? std::string() : platform::RealToStTime(v);
    };
    hours.onSetText = [](core::Field& f, const std::string& text) {
        f.setValue(platform::StTimeToReal(text));
    };

    // Formatted for reading; the bare digits while the user edits them.
    a.field("NRINSJURFORN").onGetText = [&s](const core::Field& f, bool display) {
        const std::string raw = f.asString();
        if (!display || s.comps.activeControl() == "dbeFornecedor") return raw;
        const std::string mask = platform::PictPess(f.dataSet().field("IDTPIJURFORN").asString());
        return mask.empty() || raw.empty() ? raw : core::EditMask::parse(mask).apply(raw);
    };

    if (!s.cdsExisteParcial.findField("QTINSPEC"))
        s.cdsExisteParcial.addField("QTINSPEC", core::FieldType::Float, 0, "");

    // Listeners of cdsAuditoria run in this order: the record's own handlers below
    // (connected from the screen's constructor), then the data sources that show it
    // (dtsPadrao with the toolbar, dtsAuditoria; connected when FormCreate builds the
    // layout), then the header's change watches (setupHeaderValidation, after that).
    a.beforeInsert.connect([&s](core::RecordSet&) { cdsAuditoriaBeforeInsert(s); });
    a.onNewRecord.connect([&s](core::RecordSet&) { cdsAuditoriaNewRecord(s); });
    a.afterInsert.connect([&s](core::RecordSet&) { cdsAuditoriaAfterInsert(s); });
    a.afterOpen.connect([&s](core::RecordSet&) { cdsAuditoriaAfterOpen(s); });
    a.onCalcFields.connect([&s](core::RecordSet&) { cdsAuditoriaCalcFields(s); });

    // The brand boxes are open exactly while a new request is being entered,
    // whichever way the insert ends (post, cancel, a reload).
    a.onDataChange.connect([&s](core::RecordSet& set) {
        const bool inserting = set.state() == core::DataSetState::Insert;
        for (const char* name : {"lblMarca", "dbeMarcaProd", "btnPesqMarca"}) setEnabled(s, name, inserting);
    });
}

void cdsAuditoriaBeforeInsert(TfrmPedidoAna& s) {
    if (s.cdsAuditoria.isEmpty()) setEnabled(s, "tshFormulario", true);
    if (s.comps.has("tshFormulario")) s.comps.setActiveTab("pgcPadrao", "tshFormulario");
}

void cdsAuditoriaNewRecord(TfrmPedidoAna& s) {
    auto& a = s.cdsAuditoria;
    a.field("CDFILIAL").setValue(platform::FiliProc());
    a.field("CDOPEINCAUDI").setValue(platform::Operador());
    a.field("NMOPERADOR").setValue(platform::NomeOperador());
    a.field("IDORIGAUDIT").setValue("ANA");
    a.field("IDSTATUSAUDI").setValue("1");
    a.field("IDLIBERAUDIT").setValue("S");
    // One reading of the server clock for both: the hour box shows HORA, so it
    // carries the time of day, not the date alone.
    const core::DateTime now = platform::DtServ("H");
    a.field("DATA").setValue(now);
    a.field("HORA").setValue(now);
    if (auto* h = control(s, "medHora")) h->text = core::formatDateTime("hh:nn", now);
    if (auto* c = control(s, "chbAnaCompat")) c->checked = false;
    if (auto* c = control(s, "dbdDtValiLote")) c->text.clear();
    boVdTeorVazio = false;
    boVdTeorInv = false;
}

void cdsAuditoriaAfterInsert(TfrmPedidoAna& s) {
    for (const char* name : {"dbdDtAmos", "dbdDataPrev", "medHoraPrev"})
        if (auto* c = control(s, name)) c->text.clear();
    if (s.comps.has("tshFormulario") && s.comps.activeTab("pgcPadrao") != "tshFormulario")
        s.comps.setActiveTab("pgcPadrao", "tshFormulario");
    for (const char* name : {"lblMarca", "dbeMarcaProd", "btnPesqMarca"}) setEnabled(s, name, true);
    if (auto* p = control(s, "dbeProduto"); p && p->enabled && p->visible) s.comps.setFocus("dbeProduto");
}

void cdsAuditoriaAfterOpen(TfrmPedidoAna& s) {
    if (s.cdsAuditoria.isEmpty() && s.comps.has("tshFolhaDados"))
        s.comps.setActiveTab("pgcPadrao", "tshFolhaDados");
    refreshPartialApproval(s);
}

void refreshPartialApproval(TfrmPedidoAna& s) {
    const auto& a = s.cdsAuditoria;
    platform::loadFromServer(s.cdsExisteParcial,
                             s.netPedidoAna.call("GetQtItensParciais", {a.field("CDFILIAL").asString(),
                                                                        a.field("NRAUDITORIA").asString()}));
    const bool partial =
        !s.cdsExisteParcial.isEmpty() && s.cdsExisteParcial.field("QTINSPEC").asFloat() != 0.0;
    setEnabled(s, "btnFechaParc", partial);
}

void cdsAuditoriaCalcFields(TfrmPedidoAna& s) {
    auto& a = s.cdsAuditoria;
    // At most 50 + 20 + 4 + 15 characters plus the separators: always fits its 200.
    a.field("dbtNome").setValue(a.field("NMPRODUTO").asString() + "   -   " +
                                a.field("NRLOTEESTQ").asString() + "   /   " +
                                a.field("NRSUBLOTE").asString() + "   -   " + a.field("TIPOANA").asString());
}

}  // namespace screen

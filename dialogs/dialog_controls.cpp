#include "dialogs/dialog_controls.h"

#include "core/error.h"
#include "dialogs/server_call.h"
#include "platform/services.h"

namespace dialogs {

using platform::Color;
using platform::ControlKind;

void setControlText(platform::ComponentModel& comps, const std::string& name, const std::string& text) {
    auto& c = comps[name];
    if (c.text == text) return;
    c.text = text;
    if (c.onChange) c.onChange();
}

void checkJustification(platform::ComponentModel& comps, const platform::TMessages& msgPadrao,
                        platform::TNetConnection& conn, core::RecordSet& cdsVdJustificativa) {
    try {
        const std::string code = platform::Ajusta(comps["edtJus"].text, 5);
        setControlText(comps, "edtJus", code);
        std::vector<core::Variant> args{code};
        loadServer(conn, "GetVdJustificativa", args, 1, cdsVdJustificativa);
        if (!cdsVdJustificativa.isEmpty() && cdsVdJustificativa["CDJUSTIFICATIVA"].asString() == code) {
            comps["edtInfoJus"].text = cdsVdJustificativa["DSJUSTIFICATIVA"].asString();
        } else {
            comps["edtInfoJus"].text.clear();
            platform::MensErro(msgPadrao.Msg("Jus_NCad"), true);
        }
    } catch (...) {
        comps.setFocus("edtJus");
        throw;
    }
}

void declareJustificationSet(core::RecordSet& set, bool withLabels) {
    set.addField("CDJUSTIFICATIVA", core::FieldType::String, 5, withLabels ? "Código" : "");
    set.addField("DSJUSTIFICATIVA", core::FieldType::String, 100, withLabels ? "Justificativa" : "");
}

void addConfirmCancel(platform::ComponentModel& comps, std::function<void()> confirm, std::function<void()> cancel) {
    for (const char* inherited : {"btnExecutar", "btnFechar"})
        if (auto* c = comps.find(inherited)) c->visible = false;
    auto& ok = comps.add("sbtConfirma", ControlKind::ToolButton, {}, "Confirma");
    ok.image = "sbtConfirmar";
    ok.onClick = std::move(confirm);
    auto& no = comps.add("sbtCancel", ControlKind::ToolButton, {}, "Cancela");
    no.image = "sbtCancelar";
    no.onClick = std::move(cancel);
}

void addJustificationControls(platform::ComponentModel& comps, const std::string& parent) {
    auto& jus = comps.add("edtJus", ControlKind::Edit, parent);
    jus.maxLength = 5;
    jus.color = Color::Window;
    comps.add("btnPesqJus", ControlKind::LookupButton, parent).hint = "Justificativa";
    auto& info = comps.add("edtInfoJus", ControlKind::Edit, parent);
    info.readOnly = true;
    info.color = Color::BtnFace;
}

void addJustificationGroup(platform::ComponentModel& comps, platform::TBtnPesquisa& btnPesqJus,
                           core::RecordSet& cdsJustificativa, JustificationHandlers handlers) {
    comps.add("grbJustificativa", ControlKind::GroupBox, {}, "Justificativa");
    addJustificationControls(comps, "grbJustificativa");
    comps["edtJus"].onExit = std::move(handlers.exit);
    comps["edtJus"].onChange = std::move(handlers.change);
    comps["btnPesqJus"].onClick = [&btnPesqJus] { btnPesqJus.Click(); };

    btnPesqJus.name = "btnPesqJus";
    btnPesqJus.OnBeforePesq = std::move(handlers.beforePesq);
    btnPesqJus.OnPesquisa = [&cdsJustificativa] {
        if (!platform::Pesquisar(cdsJustificativa, "Justificativa", "Não há justificativa cadastrada."))
            throw core::Abort();
    };
    btnPesqJus.OnAfterPesq = std::move(handlers.afterPesq);
}

void loadJustifications(platform::TNetConnection& conn, core::RecordSet& cdsJustificativa) {
    std::vector<core::Variant> args;
    loadServer(conn, "GetJustificativa", args, 1, cdsJustificativa);
}

void takeChosenJustification(platform::ComponentModel& comps, core::RecordSet& cdsJustificativa) {
    setControlText(comps, "edtJus", cdsJustificativa["CDJUSTIFICATIVA"].asString());
    comps["edtInfoJus"].text = cdsJustificativa["DSJUSTIFICATIVA"].asString();
}

void requireFilled(platform::ComponentModel& comps, const std::string& control, const std::string& message) {
    if (!comps[control].text.empty()) return;
    comps.setFocus(control);
    platform::MensErro(message, true);
}

}  // namespace dialogs

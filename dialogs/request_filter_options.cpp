// Named filter options, saved per screen and operator in the database (the host's
// filter form): the boxes' values plus the variables listed in stlVariaveis.
#include "dialogs/dialog_controls.h"
#include "dialogs/request_filter.h"
#include "dialogs/server_call.h"
#include "platform/host.h"
#include "platform/services.h"

namespace cli_mxa07301 {

using platform::ControlKind;
using platform::MensErro;

namespace {

// Boxes whose values an option keeps; the option's own name box is not one of them.
bool kept(const platform::Control& c) {
    switch (c.kind) {
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            return true;
        case ControlKind::Edit:
        case ControlKind::MaskEdit:
            return !c.readOnly && c.name != "edtOpcao";
        default:
            return false;
    }
}

const char* partnerOf(const std::string& radio) {
    if (radio == "rbtTOP") return "rbtLOP";
    if (radio == "rbtLOP") return "rbtTOP";
    if (radio == "rbtTodosSetor") return "rbtListaSetor";
    if (radio == "rbtListaSetor") return "rbtTodosSetor";
    return nullptr;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& p : parts) out += (out.empty() ? "" : ", ") + p;
    return out;
}

}  // namespace

core::Packet TfrmFiltroPedido::optionValues() const {
    core::Packet p;
    p.fields = {{"NMCOMPONENTE", core::FieldType::String, 60},
                {"STVARIAVEL", core::FieldType::String, 1},
                {"DSVALOR", core::FieldType::String, 0}};
    for (const auto& name : comps.names()) {
        const auto& c = comps[name];
        if (!kept(c)) continue;
        const bool box = c.kind == ControlKind::CheckBox || c.kind == ControlKind::RadioButton;
        p.rows.push_back({name, "N", box ? std::string(c.checked ? "S" : "N") : c.text});
    }
    for (const auto& [name, value] : stlVariaveis) p.rows.push_back({name, "S", value});
    return p;
}

// What the option holds, in words, for the list the user picks from.
std::string TfrmFiltroPedido::optionSummary() const {
    std::vector<std::string> sit;
    for (const char* n : {"chbPendente", "chbAndamento", "chbCancelado", "chbOK", "chbNaoOK"})
        if (comps[n].checked) sit.push_back(comps[n].caption);
    std::string s = "Situação: " + (sit.empty() ? std::string("todas") : joined(sit));
    s += "; Setor: " + (comps["rbtListaSetor"].checked ? stSetor : std::string("todos"));
    s += "; OP: " + (comps["rbtLOP"].checked ? stOP : std::string("todas"));
    return s;
}

void TfrmFiltroPedido::btfSaveOpcClick() {
    checkCriteria(false);
    stlVariaveis["stSetor"] = stSetor;
    stlVariaveis["stOP"] = stOP;
    const std::string name = platform::AllTrim(comps["edtOpcao"].text);
    if (name.empty()) {
        comps.setFocus("edtOpcao");
        MensErro("Nome da opção deve ser informado.", true);
    }
    dialogs::openOwnConnection(netOpcoes);
    std::vector<core::Variant> args = {screenCode, platform::Operador(), name, optionSummary(),
                                       optionValues()};
    dialogs::callServer(netOpcoes, "GravaOpcFiltro", args, 1);
    platform::host().showMessage("Opção de filtro \"" + name + "\" salva.", platform::MsgType::Information);
}

void TfrmFiltroPedido::applyOption(const core::RecordSet& values) {
    auto& v = const_cast<core::RecordSet&>(values);
    for (int row = 0; row < v.recordCount(); ++row) {
        const std::string name = v.valueAt(row, "NMCOMPONENTE").asString();
        const std::string value = v.valueAt(row, "DSVALOR").asString();
        if (v.valueAt(row, "STVARIAVEL").asString() == "S") {
            stlVariaveis[name] = value;
            continue;
        }
        auto* c = comps.find(name);
        if (!c || !kept(*c)) continue;  // a box this version no longer has
        if (c->kind == ControlKind::CheckBox) {
            c->checked = value == "S";
        } else if (c->kind == ControlKind::RadioButton) {
            if (value == "S")
                chooseList(name, partnerOf(name),
                           name.find("Setor") != std::string::npos ? "btpSetor" : "btpOP");
        } else {
            dialogs::setControlText(comps, name, value);
        }
    }
}

void TfrmFiltroPedido::btfLoadOpcClick() {
    dialogs::openOwnConnection(netOpcoes);
    std::vector<core::Variant> args = {screenCode, platform::Operador()};
    dialogs::loadServer(netOpcoes, "ListaOpcFiltro", args, 1, cdsCarregaOpcoes);
    if (!platform::Pesquisar(cdsCarregaOpcoes, "Opções de Filtro", "Não há opção de filtro salva.",
                             {"DSOPCSALVA", "TXCRITERIO"}))
        return;
    const std::string name = cdsCarregaOpcoes.field("DSOPCSALVA").asString();
    core::RecordSet values("cdsValoresOpcao");
    std::vector<core::Variant> load = {screenCode, platform::Operador(), name};
    dialogs::loadServer(netOpcoes, "CarregaOpcFiltro", load, 1, values);
    stlVariaveis.clear();
    applyOption(values);
    // The variables come from the option just loaded, not from the one before.
    stSetor = stlVariaveis["stSetor"];
    stOP = stlVariaveis["stOP"];
    comps["edtOpcao"].text = name;
    for (const char* product : {"medIni", "medFim"}) {
        try {
            Vd_Produto(product);
        } catch (const core::Error&) {
            // A product removed since the option was saved: its name stays empty.
        }
    }
}

}  // namespace cli_mxa07301

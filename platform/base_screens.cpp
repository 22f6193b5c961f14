#include "platform/base_screens.h"

#include <tuple>

#include "platform/handler.h"
#include "platform/host.h"

namespace platform {

namespace {

// Menu items that run a toolbar button, enabled with it.
struct MenuButton {
    const char* item;
    const char* caption;
    const char* button;
};
constexpr MenuButton kMenuButtons[] = {{"mnuIncluir", "&Incluir", "sbtIncluir"},
                                       {"mnuAlterar", "&Alterar", "sbtAlterar"},
                                       {"mnuExcluir", "&Excluir", "sbtExcluir"},
                                       {"mnuConfirmar", "&Confirmar", "sbtConfirmar"},
                                       {"mnuCancelar", "Ca&ncelar", "sbtCancelar"}};

// A button whose click runs a handler the way the host's event loop does.
Control& button(Form& f, const std::string& name, ControlKind kind, const std::string& caption,
                const std::string& image, std::function<void()> click) {
    auto& c = f.comps.add(name, kind, {}, caption);
    c.image = image;
    c.onClick = [click = std::move(click)] { runHandler(click); };
    return c;
}

}  // namespace

TfrmPadrao::TfrmPadrao() {
    // The toolbar follows whatever set dtsPadrao points at, for as long as the screen lives.
    toolbarLink_ = comps.addDataSource("dtsPadrao", nullptr).onDataChange.connect([this](DataSource&) {
        updateToolbar();
    });
}

TfrmPadrao::~TfrmPadrao() = default;

core::RecordSet* TfrmPadrao::padrao() const {
    const auto* ds = comps.dataSource("dtsPadrao");
    return ds ? ds->dataSet() : nullptr;
}

void TfrmPadrao::setPadrao(core::RecordSet* set) {
    comps.addDataSource("dtsPadrao", set);
    updateToolbar();
}

void TfrmPadrao::FormCreate() {
    auto& pgc = comps.add("pgcPadrao", ControlKind::PageControl);
    comps.add("tshFolhaDados", ControlKind::Tab, "pgcPadrao", "Folha de Dados");
    comps.add("tshFormulario", ControlKind::Tab, "pgcPadrao", "Formulário");
    pgc.activeTab = 0;
    pgc.onChange = [this] { runHandler([this] { pgcPadraoChange(); }); };
    auto& grid = comps.add("dbgPadrao", ControlKind::Grid, "tshFolhaDados");
    grid.dataSource = "dtsPadrao";
    grid.readOnly = true;

    button(*this, "sbtIncluir", ControlKind::ToolButton, "Incluir", "incluir", [this] { sbtIncluirClick(); });
    button(*this, "sbtAlterar", ControlKind::ToolButton, "Alterar", "alterar", [this] { sbtAlterarClick(); });
    button(*this, "sbtExcluir", ControlKind::ToolButton, "Excluir", "excluir", [this] { sbtExcluirClick(); });
    button(*this, "sbtConfirmar", ControlKind::ToolButton, "Confirmar", "confirmar",
           [this] { sbtConfirmarClick(); });
    button(*this, "sbtCancelar", ControlKind::ToolButton, "Cancelar", "cancelar",
           [this] { sbtCancelarClick(); });
    button(*this, "sbtImprimir", ControlKind::ToolButton, "Imprimir", "imprimir",
           [this] { sbtImprimirClick(); });
    button(*this, "sbtSair", ControlKind::ToolButton, "Sair", "sair", [this] { sbtSairClick(); });
    comps.add("nvgPadrao", ControlKind::Navigator).dataSource = "dtsPadrao";
    comps.add("mnuOperacoes", ControlKind::MenuItem, {}, "Operações");
    comps.add("mnuManutencao", ControlKind::MenuItem, {}, "Manutenção");
    for (const auto& [item, caption, tab] : {std::tuple{"mnuFolhaDados", "&Folha de Dados", "tshFolhaDados"},
                                             std::tuple{"mnuFormulario", "F&ormulário", "tshFormulario"}}) {
        comps.add(item, ControlKind::MenuItem, "mnuOperacoes", caption).onClick = [this, tab = std::string(tab)] {
            runHandler([this, &tab] { comps.selectTab("pgcPadrao", tab); });
        };
    }
    for (const auto& [item, caption, target] : kMenuButtons)
        comps.add(item, ControlKind::MenuItem, "mnuManutencao", caption).onClick = [this, b = std::string(target)] {
            // Whatever the button runs now, and only when the button may.
            auto& c = comps[b];
            if (c.enabled && c.onClick) c.onClick();
        };
    comps["mnuFolhaDados"].checked = true;
    updateToolbar();
}

void TfrmPadrao::pgcPadraoChange() {
    const std::string tab = comps.activeTab("pgcPadrao");
    if (auto* m = comps.find("mnuFolhaDados")) m->checked = tab == "tshFolhaDados";
    if (auto* m = comps.find("mnuFormulario")) m->checked = tab == "tshFormulario";
}

void TfrmPadrao::FormClose() {
    closed_ = true;
    host().closeScreen(*this);
}

namespace {
void showForm(ComponentModel& comps) {
    if (comps.has("tshFormulario")) comps.setActiveTab("pgcPadrao", "tshFormulario");
}
}  // namespace

void TfrmPadrao::sbtIncluirClick() {
    if (auto* s = padrao()) {
        s->append();
        showForm(comps);
    }
}

void TfrmPadrao::sbtAlterarClick() {
    if (auto* s = padrao(); s && s->active() && !s->isEmpty()) {
        s->edit();
        showForm(comps);
    }
}

void TfrmPadrao::sbtExcluirClick() {
    auto* s = padrao();
    if (!s || !s->active() || s->isEmpty()) return;
    if (host().ask("Confirma a exclusão do registro?", MsgType::Confirmation, MsgButtons::YesNo) !=
        MsgResult::Yes)
        return;
    s->remove();
}

void TfrmPadrao::sbtConfirmarClick() {
    if (auto* s = padrao()) s->post();
}

void TfrmPadrao::sbtCancelarClick() {
    if (auto* s = padrao()) s->cancel();
}

void TfrmPadrao::updateToolbar() {
    if (!comps.has("sbtIncluir")) return;  // before FormCreate there is no toolbar yet
    const auto* s = padrao();
    const auto state = s ? s->state() : core::DataSetState::Inactive;
    const bool browse = state == core::DataSetState::Browse;
    const bool editing = state == core::DataSetState::Edit || state == core::DataSetState::Insert;
    const bool rows = browse && !s->isEmpty();
    comps["sbtIncluir"].enabled = browse;
    comps["sbtAlterar"].enabled = rows;
    comps["sbtExcluir"].enabled = rows;
    comps["sbtConfirmar"].enabled = editing;
    comps["sbtCancelar"].enabled = editing;
    comps["sbtImprimir"].enabled = !editing;
    comps["sbtSair"].enabled = !editing;
    comps["nvgPadrao"].enabled = rows;
    comps["dbgPadrao"].enabled = !editing;
    menusFollowButtons();
}

void TfrmPadrao::menusFollowButtons() {
    for (const auto& m : kMenuButtons)
        if (auto* item = comps.find(m.item))
            if (const auto* b = comps.find(m.button)) item->enabled = b->enabled;
}

TfrmFiltroPadrao::TfrmFiltroPadrao() = default;

void TfrmFiltroPadrao::FormCreate() {
    button(*this, "btnOK", ControlKind::Button, "Confirmar", "confirmar", [this] { btnOKClick(); });
    button(*this, "btnCancel", ControlKind::Button, "Cancelar", "cancelar", [this] { btnCancelClick(); });
}

TfrmDadosGerRel::TfrmDadosGerRel() = default;

void TfrmDadosGerRel::FormCreate() {
    button(*this, "btnOK", ControlKind::Button, "Confirmar", "imprimir", [this] { btnOKClick(); });
    button(*this, "btnCancel", ControlKind::Button, "Cancelar", "cancelar", [this] { btnCancelClick(); });
}

TfrmRotiGeral::TfrmRotiGeral() = default;

void TfrmRotiGeral::FormCreate() {
    button(*this, "btnExecutar", ControlKind::Button, "Executar", "executar", [this] { btnExecutarClick(); });
    button(*this, "btnFechar", ControlKind::Button, "Fechar", "sair", [this] { btnFecharClick(); });
}

}  // namespace platform

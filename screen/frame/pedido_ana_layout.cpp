#include "screen/conclusion/conclusion.h"
#include "screen/conclusion/conclusion_check.h"
#include "screen/conclusion/release.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"
#include "screen/inspection/inspection.h"

namespace screen {

using platform::Control;
using platform::ControlKind;

using building::ensure;
using building::grid;

namespace {

// A top menu of the base by its caption word ("Opera", "Manuten"), or a new one.
std::string menuLike(platform::ComponentModel& comps, const std::string& word, const std::string& name,
                     const std::string& caption) {
    for (const auto& n : comps.names()) {
        const auto& c = comps[n];
        if (c.kind != ControlKind::MenuItem) continue;
        const auto* parent = comps.find(c.parent);
        const bool top = c.parent.empty() || !parent || parent->kind != ControlKind::MenuItem;
        if (top && c.caption.find(word) != std::string::npos) return n;
    }
    ensure(comps, name, ControlKind::MenuItem, "", caption);
    return name;
}

}  // namespace

void TfrmPedidoAna::buildLayout() {
    auto& c = comps;
    setPadrao(&cdsAuditoria);
    if (!c.dataSource("dtsPadrao")) c.addDataSource("dtsPadrao", &cdsAuditoria);
    c.addDataSource("dtsAuditoria", &cdsAuditoria);

    ensure(c, "pgcPadrao", ControlKind::PageControl, "");
    ensure(c, "tshFolhaDados", ControlKind::Tab, "pgcPadrao").caption = "Pedido de Análise";
    ensure(c, "tshFormulario", ControlKind::Tab, "pgcPadrao");
    ensure(c, "tshItemAna", ControlKind::Tab, "pgcPadrao", "Ítens de Análises");
    ensure(c, "tshFormula", ControlKind::Tab, "pgcPadrao", "Fórmula da Análise");

    // List tab: the request list.
    auto& list = grid(c, "dbgPadrao", "tshFolhaDados", "dtsPadrao",
                      {"IDSTATUSAUDI", "DTINCLAUDIT", "DTFINPREVAUD", "DTFINREALAUD", "NRLOTEESTQ", "NRSUBLOTE",
                       "NMPRODUTO", "SGUNIDADE", "OPSUBOP", "IDTPAUDITADO", "NMOPERADOR", "QTHRAUDIT", "DTVALANA"});
    list.columns[0].title = "Sit.";
    for (auto& col : list.columns) col.readOnly = true;

    // Form tab: the header form and the justification box.
    ensure(c, "grbFormulario", ControlKind::GroupBox, "tshFormulario");
    ensure(c, "lblSit", ControlKind::Label, "grbFormulario", "Situação");
    auto& sit = ensure(c, "dbcSit", ControlKind::DBComboBox, "grbFormulario");
    sit.dataSource = "dtsAuditoria";
    sit.dataField = "IDSTATUSAUDI";
    ensure(c, "lblProcesso", ControlKind::Label, "grbFormulario", "Processo");
    auto& proc = ensure(c, "dbcProcesso", ControlKind::DBComboBox, "grbFormulario");
    proc.dataSource = "dtsAuditoria";
    proc.dataField = "IDTPAUDITADO";
    ensure(c, "grbJus", ControlKind::GroupBox, "tshFormulario", "Justificativa");
    auto& jus = ensure(c, "dbmJustificativa", ControlKind::Memo, "grbJus");
    jus.dataSource = "dtsAuditoria";
    jus.dataField = "DSJUSTIFICATIVA";
    jus.readOnly = true;

    // The items and formula tabs hold the views of their subjects.
    buildInspectionViews(*this);
    buildConclusionViews(*this);

    // Toolbar buttons of this screen, after the base's.
    struct Btn {
        const char* name;
        const char* caption;
        bool enabled;
    };
    for (const Btn& b :
         {Btn{"sbtGeraTarefa", "Gerar Tarefas Programadas", true}, Btn{"sbtFatuVenc", "Faturas (Vencimentos)", false},
          Btn{"sbtFiltro", "Filtrar", true}, Btn{"sbtReanalise", "Reanálise", true},
          Btn{"sbtAtualizaEstoque", "Atualizar Estoque", true}, Btn{"sbtLibAna", "Liberação de Análise", false},
          Btn{"btnFechaParc", "Aprovação Parcial do Lote", false}}) {
        auto& t = ensure(c, b.name, ControlKind::ToolButton, "", b.caption);
        t.caption = b.caption;
        t.hint = b.caption;
        t.enabled = b.enabled;
    }

    buildRefreshButton(*this);
    connectRelease(*this);

    // Menu items.
    const std::string ops = menuLike(c, "Opera", "mnuOperacoes", "&Operações");
    const std::string maint = menuLike(c, "Manuten", "mnuManutencao", "&Manutenção");
    ensure(c, "mnuItensAna", ControlKind::MenuItem, ops, "&Ítens de Análise");
    ensure(c, "mnuAtualizaEstoque", ControlKind::MenuItem, maint, "Atualiza Estoque");
    ensure(c, "mnuLiberaAnalise", ControlKind::MenuItem, maint, "Libera Análise");
    ensure(c, "mnuFiltrar", ControlKind::MenuItem, maint, "&Filtrar");
    ensure(c, "mnuGerarTarefasProgramadas", ControlKind::MenuItem, maint, "&Gerar Tarefas Programadas");
    ensure(c, "mnuFatuVenc", ControlKind::MenuItem, maint, "Faturas (&Vencimentos)");

    // Status glyphs the grids paint; never shown themselves.
    for (const char* img : {"imgOK", "imgCancela", "imgPendente", "imgCancelado", "imgAndamento", "imgCheck",
                            "imgUnCheck", "imgAprovado", "imgNAprovado", "imgFormPend", "imgImcomp", "imgRetirado"}) {
        auto& i = ensure(c, img, ControlKind::Image, "");
        i.image = img;
        i.visible = false;
    }
}

}  // namespace screen

#include <gtest/gtest.h>

#include "core/recordset.h"
#include "platform/base_screens.h"
#include "platform/scripted_host.h"
#include "support/form_input.h"

using namespace platform;

namespace {

struct BaseScreen : ::testing::Test {
    ScriptedHost script;
    core::RecordSet cds{"cdsSetor"};
    TfrmPadrao frm;
    void SetUp() override {
        setHost(&script);
        cds.addField("CDSETOR", core::FieldType::String, 4).def.required = true;
        frm.FormCreate();
        frm.setPadrao(&cds);
    }
    void TearDown() override { setHost(nullptr); }
    std::string enabled() {
        std::string s;
        for (auto n : {"sbtIncluir", "sbtAlterar", "sbtExcluir", "sbtConfirmar", "sbtCancelar"})
            s += frm.comps[n].enabled ? '1' : '0';
        return s;
    }
    void click(const char* name) { testsupport::click(frm, name); }
};

}  // namespace

TEST_F(BaseScreen, LayoutOfTheMaintenanceScreen) {
    EXPECT_EQ(frm.comps.tabs("pgcPadrao"), (std::vector<std::string>{"tshFolhaDados", "tshFormulario"}));
    EXPECT_EQ(frm.comps["tshFolhaDados"].caption, "Folha de Dados");
    EXPECT_EQ(frm.comps["tshFormulario"].caption, "Formulário");
    EXPECT_EQ(frm.comps.activeTab("pgcPadrao"), "tshFolhaDados");
    EXPECT_EQ(frm.comps["dbgPadrao"].dataSource, "dtsPadrao");
    EXPECT_EQ(frm.comps.dataSource("dtsPadrao")->dataSet(), &cds);
    EXPECT_EQ(frm.comps["sbtExcluir"].caption, "Excluir");
    EXPECT_TRUE(frm.comps.has("mnuOperacoes"));
    EXPECT_TRUE(frm.comps.has("mnuManutencao"));
    EXPECT_TRUE(frm.comps.has("nvgPadrao"));
}

TEST_F(BaseScreen, ToolbarFollowsTheStateOfThePadraoSet) {
    EXPECT_EQ(enabled(), "00000");  // inactive
    cds.open();
    EXPECT_EQ(enabled(), "10000");  // browse, empty: nothing to change or delete
    click("sbtIncluir");
    EXPECT_EQ(cds.state(), core::DataSetState::Insert);
    EXPECT_EQ(frm.comps.activeTab("pgcPadrao"), "tshFormulario");
    EXPECT_EQ(enabled(), "00011");
    cds["CDSETOR"].setValue("0001");
    click("sbtConfirmar");
    EXPECT_EQ(cds.state(), core::DataSetState::Browse);
    EXPECT_EQ(enabled(), "11100");
    click("sbtAlterar");
    EXPECT_EQ(enabled(), "00011");
    cds["CDSETOR"].setValue("0002");
    click("sbtCancelar");
    EXPECT_EQ(cds["CDSETOR"].asString(), "0001");
    EXPECT_EQ(enabled(), "11100");

    // A refused post keeps the record in edit and the toolbar with it; the error is shown.
    click("sbtIncluir");
    click("sbtConfirmar");
    EXPECT_EQ(cds.state(), core::DataSetState::Insert);
    EXPECT_EQ(enabled(), "00011");
    EXPECT_FALSE(script.messages.empty());
    click("sbtCancelar");
    EXPECT_EQ(cds.recordCount(), 1);
}

TEST_F(BaseScreen, DeleteAsksAndOnlyYesDeletes) {
    cds.open();
    cds.append();
    cds["CDSETOR"].setValue("0001");
    cds.post();
    script.answers.push_back(MsgResult::No);
    click("sbtExcluir");
    EXPECT_EQ(script.lastText(), "Confirma a exclusão do registro?");
    EXPECT_EQ(cds.recordCount(), 1);
    script.answers.push_back(MsgResult::Yes);
    click("sbtExcluir");
    EXPECT_EQ(cds.recordCount(), 0);
    EXPECT_EQ(script.messages.size(), 2u);
    EXPECT_EQ(enabled(), "10000");
}

TEST_F(BaseScreen, CloseAndOtherDialogs) {
    script.showScreen(frm);
    click("sbtSair");
    EXPECT_TRUE(frm.closed());
    EXPECT_FALSE(frm.visible);

    TfrmFiltroPadrao filtro;
    filtro.FormCreate();
    EXPECT_EQ(filtro.comps["btnOK"].caption, "Confirmar");
    script.dialogs.push_back([](Form& f) { f.comps["btnOK"].onClick(); });
    EXPECT_EQ(script.runModal(filtro), mrOk);
    EXPECT_EQ(script.runModal(filtro), mrCancel);  // unscripted: cancelled

    TfrmRotiGeral roti;
    roti.FormCreate();
    script.dialogs.push_back([](Form& f) { f.comps["btnFechar"].onClick(); });
    EXPECT_EQ(script.runModal(roti), mrCancel);
    TfrmDadosGerRel rel;
    rel.FormCreate();
    EXPECT_TRUE(rel.comps.has("btnOK"));
}

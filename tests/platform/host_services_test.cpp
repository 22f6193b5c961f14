#include <gtest/gtest.h>

#include "core/error.h"
#include "core/recordset.h"
#include "platform/lookup_button.h"
#include "platform/messages.h"
#include "platform/scripted_host.h"
#include "platform/services.h"

using namespace platform;

namespace {

struct HostServices : ::testing::Test {
    ScriptedHost script;
    core::RecordSet setor{"cdsSetor"};
    void SetUp() override {
        setHost(&script);
        setor.addField("CDSETOR", core::FieldType::String, 4);
        setor.addField("NMSETOR", core::FieldType::String, 40);
        setor.open();
        for (auto [cd, nm] :
             {std::pair{"0001", "Recebimento"}, {"0002", "Laboratório"}, {"0003", "Expedição"}}) {
            setor.append();
            setor["CDSETOR"].setValue(cd);
            setor["NMSETOR"].setValue(nm);
            setor.post();
        }
        setor.first();
    }
    void TearDown() override { setHost(nullptr); }
};

}  // namespace

TEST_F(HostServices, PesquisarMakesTheChosenRowCurrent) {
    script.picks.push_back({2});
    EXPECT_TRUE(Pesquisar(setor, "Setores", "Nenhum setor cadastrado.", {"CDSETOR", "NMSETOR"}));
    EXPECT_EQ(setor["CDSETOR"].asString(), "0003");
    ASSERT_EQ(script.lookups.size(), 1u);
    EXPECT_EQ(script.lookups[0].title, "Setores");
    EXPECT_EQ(script.lookups[0].columns.size(), 2u);
    EXPECT_FALSE(script.lookups[0].multiSelect);

    // Cancelled: nothing chosen, the current row stays.
    EXPECT_FALSE(Pesquisar_Plus(setor, "Setores", "Nenhum setor cadastrado."));
    EXPECT_EQ(setor["CDSETOR"].asString(), "0003");

    std::vector<int> chosen;
    script.picks.push_back({0, 1});
    EXPECT_TRUE(PesquisaLista(setor, "Setores", "Nenhum setor cadastrado.", chosen));
    EXPECT_EQ(chosen, (std::vector<int>{0, 1}));
    EXPECT_TRUE(script.lookups.back().multiSelect);
    EXPECT_EQ(setor["CDSETOR"].asString(), "0001");
}

TEST_F(HostServices, EmptySourceShowsTheEmptyTextInsteadOfAList) {
    setor.emptyDataSet();
    EXPECT_FALSE(Pesquisar(setor, "Setores", "Nenhum setor cadastrado."));
    EXPECT_TRUE(script.lookups.empty());
    EXPECT_EQ(script.lastText(), "Nenhum setor cadastrado.");
}

TEST_F(HostServices, MessagesWaitModulesAndDateTimePicker) {
    TMessages msg{{"P_ALMOXORIG_CAD", "Almoxarifado de origem não cadastrado."}};
    EXPECT_EQ(msg.Msg("P_ALMOXORIG_CAD"), "Almoxarifado de origem não cadastrado.");
    EXPECT_EQ(msg.Msg("SEM_TEXTO"), "SEM_TEXTO");
    script.answers.push_back(MsgResult::No);
    EXPECT_EQ(msg.ShowMsg("P_ALMOXORIG_CAD", MsgType::Confirmation, MsgButtons::YesNo), MsgResult::No);
    EXPECT_EQ(msg.ShowMsg("P_ALMOXORIG_CAD", MsgType::Confirmation, MsgButtons::YesNo), MsgResult::Yes);
    EXPECT_EQ(script.messages.size(), 2u);

    try {
        MensErro("Lote não cadastrado.", true);
        ADD_FAILURE() << "MensErro returned";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "Lote não cadastrado.");
    }

    ActiveShowAvi(6);
    EXPECT_EQ(script.waitDepth, 1);
    DeactiveShowAvi();
    EXPECT_EQ(script.waitDepth, 0);

    // Modules of their own (the scheduled tasks, the date-time picker) aside, the host runs them.
    std::vector<std::string> args{"ANA"};
    LoadBPL("LKS00001", args);
    ASSERT_EQ(script.modulesRun.size(), 1u);
    EXPECT_EQ(script.modulesRun[0], "LKS00001 ANA");

    std::vector<std::string> when{"45000.25"};
    script.dateTimes.push_back(core::DateTime(45000.5));
    LoadBPL("LKS59421", when);
    ASSERT_EQ(script.pickerStarts.size(), 1u);
    EXPECT_DOUBLE_EQ(script.pickerStarts[0].days, 45000.25);  // opens on the value passed
    EXPECT_EQ(when[0], "45000.5");
    LoadBPL("LKS59421", when);  // nothing picked
    EXPECT_DOUBLE_EQ(script.pickerStarts[1].days, 45000.5);
    EXPECT_EQ(when[0], "0");
    AtualizaLocalCache("LOTE");
}

TEST_F(HostServices, FieldHelpers) {
    core::RecordSet lote("cdsLote");
    lote.addField("NRLOTE", core::FieldType::String, 10);
    lote.addField("DSOBS", core::FieldType::String, 20);
    lote.addField("DTVALIDADE", core::FieldType::DateTime);
    lote.open();
    lote.append();
    lote["NRLOTE"].setValue("L1");
    lote["DSOBS"].setValue("   ");
    Seta_Campo_Null(lote);
    EXPECT_TRUE(lote["DSOBS"].isNull());
    EXPECT_EQ(lote["NRLOTE"].asString(), "L1");
    EXPECT_FALSE(CheckDateTime(lote["DTVALIDADE"]));
    lote["DTVALIDADE"].setValue(core::DateTime::make(2024, 5, 1));
    EXPECT_TRUE(CheckDateTime(lote["DTVALIDADE"]));
    lote.post();

    Control grid;
    grid.kind = ControlKind::Grid;
    grid.columns = {{"CDSETOR", "Código"}, {"NMSETOR", "Setor"}};
    EXPECT_EQ(IndiceCol(grid, "nmsetor"), 1);
    EXPECT_EQ(IndiceCol(grid, "DSOBS"), -1);
    EXPECT_EQ(GridText(grid, setor, 1, 1), "Laboratório");
    EXPECT_EQ(GridText(setor, 2, "CDSETOR"), "0003");
    EXPECT_EQ(GridText(setor, 9, "CDSETOR"), "");
}

TEST(LookupButton, BeforeMayCancelTheLookup) {
    std::vector<std::string> ran;
    TBtnPesquisa btn;
    btn.name = "btpSetor";
    btn.OnBeforePesq = [&](bool& cancel) {
        ran.push_back("before");
        cancel = ran.size() > 1;
    };
    btn.OnPesquisa = [&] { ran.push_back("lookup"); };
    btn.OnAfterPesq = [&] { ran.push_back("after"); };
    EXPECT_TRUE(btn.Click());
    EXPECT_FALSE(btn.Click());
    EXPECT_EQ(ran, (std::vector<std::string>{"before", "lookup", "after", "before"}));
}

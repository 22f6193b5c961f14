// What the screen enables and colours for the current request, the set the toolbar
// works on and the active tab; what another request becoming current resets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/format.h"
#include "platform/query.h"
#include "platform/services.h"
#include "screen_state_fixture.h"

namespace {

using statetest::Color;
using statetest::ScreenState;
using statetest::State;

// Boxes a user fills after the request exists (sample, sector, supplier, dates, ...).
const char* const kOpenBoxes[] = {"dbeQtAmos",     "dbdDtAmos",   "dbeSetor",    "btpSetor", "dbeFornecedor",
                                  "btpFornecedor", "dbdDataPrev", "medHoraPrev", "dbeDesc",  "dbeCdEquipProd",
                                  "btpEquipaProd", "lblDesc",     "lblForn"};

TEST_F(ScreenState, HeaderBoxesFollowTheSituationOfTheCurrentRequest) {
    // Cancelled (8, raw material, no production order): nothing left to fill, the
    // content box greyed; edit and delete stay for the save's own guards.
    go(8);
    for (const char* box : kOpenBoxes) EXPECT_FALSE(on(box)) << box;
    EXPECT_FALSE(on("dbdData"));
    EXPECT_FALSE(on("medHora"));
    EXPECT_EQ(c("dbdData").color, Color::BtnFace);  // closed, so not marked as required
    EXPECT_EQ(c("medHora").color, Color::BtnFace);
    EXPECT_FALSE(on("dbeDosagem"));
    EXPECT_EQ(c("dbeDosagem").color, Color::BtnFace);
    for (const char* box : {"dbeProduto", "dbeLote", "dbeSubLote", "btpProduto", "btpLote", "dbcProcesso"})
        EXPECT_FALSE(on(box)) << box;
    EXPECT_EQ(c("dbeProduto").color, Color::BtnFace);
    EXPECT_EQ(c("dbeLote").color, Color::BtnFace);
    EXPECT_EQ(c("dbcProcesso").color, Color::BtnFace);  // a product is given
    EXPECT_TRUE(on("dbcSit"));
    EXPECT_EQ(c("dbcSit").color, Color::InfoBk);
    EXPECT_FALSE(on("chbAnaCompat"));
    for (const char* b : {"sbtAlterar", "sbtExcluir", "mnuAlterar", "mnuExcluir", "sbtIncluir", "sbtGeraTarefa"})
        EXPECT_TRUE(on(b)) << b;
    for (const char* never : {"dbeNrAuditoria", "dbeOperador", "dbeNmProduto", "dbeNmSetor", "dbeOP", "lblOP"})
        EXPECT_FALSE(on(never)) << never;

    // Concluded OK (4): cannot be edited or deleted from the toolbar, nor its menu.
    go(4);
    for (const char* box : kOpenBoxes) EXPECT_FALSE(on(box)) << box;
    for (const char* b : {"sbtAlterar", "sbtExcluir", "mnuAlterar", "mnuExcluir"}) EXPECT_FALSE(on(b)) << b;
    EXPECT_TRUE(on("sbtIncluir"));

    // Running and from a supplier invoice (3): everything open, the date boxes
    // marked as required, the invoices reachable.
    go(3);
    for (const char* box : kOpenBoxes) EXPECT_TRUE(on(box)) << box;
    EXPECT_TRUE(on("dbdData"));
    EXPECT_EQ(c("dbdData").color, Color::InfoBk);
    EXPECT_EQ(c("medHora").color, Color::InfoBk);
    EXPECT_TRUE(on("dbeDosagem"));
    EXPECT_EQ(c("dbeDosagem").color, a()["IDTEOROBRIG"].asString() == "S" ? Color::InfoBk : Color::Window);
    EXPECT_TRUE(on("sbtAlterar"));
    EXPECT_TRUE(on("sbtFatuVenc"));
    EXPECT_TRUE(on("mnuFatuVenc"));

    // Running, from a production order (16): the order fixes date and hour, and the
    // request is not edited or deleted from the toolbar.
    go(16);
    EXPECT_FALSE(on("sbtFatuVenc"));
    EXPECT_FALSE(on("mnuFatuVenc"));
    EXPECT_FALSE(on("dbdData"));
    EXPECT_FALSE(on("medHora"));
    EXPECT_FALSE(on("lblData"));
    EXPECT_EQ(c("dbdData").color, Color::BtnFace);
    EXPECT_TRUE(on("dbeDesc"));
    for (const char* b : {"sbtAlterar", "sbtExcluir", "mnuAlterar", "mnuExcluir"}) EXPECT_FALSE(on(b)) << b;
    // Concluded not OK (5) likewise.
    go(5);
    EXPECT_FALSE(on("sbtAlterar"));
    EXPECT_FALSE(on("sbtExcluir"));

    // A new request: what it is about is typed now, its situation is not.
    ASSERT_TRUE(click("sbtIncluir"));
    ASSERT_EQ(a().state(), State::Insert);
    EXPECT_EQ(tab(), "tshFormulario");
    for (const char* box : {"dbeProduto", "dbeLote", "dbeSubLote", "btpProduto", "btpLote", "lblProduto", "dbcProcesso",
                            "lblProcesso", "chbAnaCompat", "dbdData", "medHora"})
        EXPECT_TRUE(on(box)) << box;
    for (const char* box : kOpenBoxes) EXPECT_TRUE(on(box)) << box;
    EXPECT_FALSE(on("dbcSit"));
    EXPECT_EQ(c("dbcSit").color, Color::BtnFace);
    EXPECT_EQ(c("dbcProcesso").color, Color::InfoBk);
    EXPECT_EQ(c("dbeProduto").color, Color::InfoBk);
    EXPECT_EQ(c("dbeLote").color, Color::Window);
    EXPECT_EQ(c("dbeSubLote").color, Color::Window);
    EXPECT_FALSE(on("dbeDosagem"));  // no product and lot yet
    // Only confirm or cancel; the other tabs wait for the header.
    for (const char* b :
         {"sbtConfirmar", "sbtCancelar", "mnuConfirmar", "mnuCancelar", "tshFormulario", "mnuFormulario"})
        EXPECT_TRUE(on(b)) << b;
    for (const char* b : {"sbtIncluir", "sbtAlterar", "sbtExcluir", "mnuIncluir", "sbtGeraTarefa", "sbtReanalise",
                          "nvgPadrao", "sbtFiltro", "mnuFiltrar", "sbtFatuVenc", "sbtLibAna", "tshFolhaDados",
                          "tshItemAna", "tshFormula", "mnuFolhaDados", "mnuItensAna", "mnuGerarTarefasProgramadas"})
        EXPECT_FALSE(on(b)) << b;

    // Cancelled: back on the request it came from, as it was.
    ASSERT_TRUE(click("sbtCancelar"));
    EXPECT_EQ(a().state(), State::Browse);
    EXPECT_EQ(a()["NRAUDITORIA"].asString(), "0000000005");
    for (const char* b : {"sbtIncluir", "tshFolhaDados", "tshItemAna", "tshFormula", "sbtFiltro", "dbcSit"})
        EXPECT_TRUE(on(b)) << b;
    for (const char* b : {"sbtConfirmar", "mnuCancelar", "chbAnaCompat", "dbeProduto", "sbtAlterar"})
        EXPECT_FALSE(on(b)) << b;
    // Only the cancel button's own question (answered Yes).
    EXPECT_EQ(host.texts(), std::vector<std::string>{"Confirma cancelamento?"});
}

TEST_F(ScreenState, TheToolbarKeepsItsRulesWhileTheRequestChangesAndAfterACancelledFilter) {
    // A concluded request's edit button used to come back with any change of the list
    // (a box typed into, the filter cancelled), as if the request were open.
    go(4);
    ASSERT_FALSE(on("sbtAlterar"));
    host.dialogs.push_back([](platform::Form& f) { f.comps["btnCancel"].onClick(); });
    ASSERT_TRUE(click("sbtFiltro"));
    EXPECT_EQ(a()["NRAUDITORIA"].asString(), "0000000004");
    EXPECT_FALSE(on("sbtAlterar"));
    EXPECT_FALSE(on("sbtExcluir"));

    go(3);
    ASSERT_TRUE(click("sbtAlterar"));
    ASSERT_EQ(a().state(), State::Edit);
    a()["DSREFEAUDIT"].setValue("Suco concentrado - revisado");
    EXPECT_FALSE(on("sbtAlterar"));
    EXPECT_TRUE(on("sbtConfirmar"));
    EXPECT_FALSE(on("sbtFiltro"));
    EXPECT_FALSE(on("mnuFiltrar"));
    EXPECT_FALSE(on("sbtFatuVenc"));  // back only with another request from an invoice
    EXPECT_FALSE(on("mnuFatuVenc"));
    host.clear();
    click("mnuFiltrar");  // the menu follows its button: nothing opens, nothing is lost
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(a().state(), State::Edit);
    a().cancel();
    EXPECT_TRUE(on("sbtFiltro"));
    EXPECT_TRUE(on("sbtAlterar"));
    EXPECT_TRUE(host.messages.empty()) << host.lastText();
}

TEST_F(ScreenState, ReleaseFollowsTheBranchParametersTheSituationAndTheProcess) {
    auto reread = [this] {
        platform::loadFromServer(s().cdsParamMXA, s().netPedidoAna.call("GetParamMXA", {"0001"}));
        screen::dtsPadraoStateChange(s());
    };
    auto params = [&](const char* ana, const char* lote, const char* est) {
        exec(std::string("UPDATE PARAMMXA SET IDUTSEGLIBANA = '") + ana + "', IDUTSEGLIBLOTE = '" + lote +
             "', IDLIBLOTEEST = '" + est + "' WHERE CDFILIAL = '0001'");
        reread();
    };
    auto release = [&](int number) {
        go(number);
        EXPECT_EQ(on("sbtLibAna"), on("mnuLiberaAnalise"));
        return on("sbtLibAna");
    };

    // Running raw material (3), packaging (12), product in process (16), finished (21).
    params("N", "S", "1");
    EXPECT_FALSE(release(3));  // the branch concludes without a release step
    params("S", "N", "N");
    EXPECT_TRUE(release(3));
    EXPECT_TRUE(release(12));
    EXPECT_FALSE(release(16));  // a product's lot needs the lot parameters
    EXPECT_FALSE(release(21));
    params("S", "S", "2");
    EXPECT_FALSE(release(21));
    params("S", "N", "1");
    EXPECT_FALSE(release(16));
    params("S", "S", "1");
    EXPECT_TRUE(release(16));
    EXPECT_TRUE(release(21));
    EXPECT_TRUE(release(3));
    // Only a running request is released.
    EXPECT_FALSE(release(1));  // pending
    EXPECT_FALSE(release(4));  // concluded
    EXPECT_FALSE(release(8));  // cancelled
    go(3);
    ASSERT_TRUE(click("sbtAlterar"));
    EXPECT_FALSE(on("sbtLibAna"));  // not while the header is edited
    a().cancel();
    EXPECT_TRUE(on("sbtLibAna"));
    EXPECT_TRUE(host.messages.empty()) << host.lastText();
}

TEST_F(ScreenState, AnotherRequestResetsTheAuthorizationAndShowsItsOwnHours) {
    exec("UPDATE AUDITORIA SET HORAPREVFIM = NULL WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000006'");
    exec("UPDATE AUDITORIA SET IDSTATUSAUDI = ' ' WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000002'");
    loadList(false);  // no situation ticked lists them all, the blank one too

    go(3);
    const auto hour = a()["HORA"].asDateTime();
    const auto planned = a()["HORAPREVFIM"].asDateTime();
    EXPECT_EQ(c("medHora").text, core::formatDateTime("hh:nn", hour));
    EXPECT_EQ(c("medHoraPrev").text, core::formatDateTime("hh:nn", planned));
    EXPECT_EQ(c("medHora").text.size(), 5u);
    EXPECT_NE(c("medHora").text, "00:00");  // the demo's requests carry their time of day

    screen::boPermi = true;  // an "ALTC" granted for request 3
    go(6);
    EXPECT_FALSE(screen::boPermi);
    EXPECT_EQ(c("medHoraPrev").text, "");  // no planned hour
    EXPECT_EQ(c("medHora").text, core::formatDateTime("hh:nn", a()["HORA"].asDateTime()));
    screen::boPermi = true;
    go(3);
    EXPECT_FALSE(screen::boPermi);  // back on request 3 the authorization is asked again

    // The compatibility box shows what the request is.
    go(29);
    EXPECT_TRUE(c("chbAnaCompat").checked);
    go(28);
    EXPECT_FALSE(c("chbAnaCompat").checked);

    // The list paints each situation's image, and none for a blank one.
    const auto& col = c("dbgPadrao").columns.at(0);
    ASSERT_TRUE(col.onDraw);
    int blankRows = 0;
    for (int row = 0; row < a().recordCount(); ++row) {
        platform::CellDraw cell{a(), row, col, false, false, a().displayTextAt(row, col.field)};
        col.onDraw(cell);
        const std::string sit = a().valueAt(row, "IDSTATUSAUDI").asString();
        if (sit == " ") {
            ++blankRows;
            EXPECT_EQ(cell.image, "");
        } else {
            EXPECT_FALSE(cell.image.empty()) << sit;
        }
    }
    EXPECT_EQ(blankRows, 1);
    EXPECT_TRUE(host.messages.empty()) << host.lastText();
}

TEST_F(ScreenState, LeavingTheFormTabPostsTheHeaderAndARefusedPostKeepsTheTab) {
    go(3);
    ASSERT_TRUE(pick("tshFormulario"));
    EXPECT_TRUE(c("mnuFormulario").checked);
    EXPECT_FALSE(c("mnuFolhaDados").checked);
    ASSERT_TRUE(click("sbtAlterar"));
    a()["DSREFEAUDIT"].setValue("");
    bool refuse = true;
    a().beforePost.connect([&](core::RecordSet&) {
        if (refuse) platform::MensErro("Descrição deve ser informada.");
    });

    EXPECT_FALSE(pick("tshFolhaDados"));
    EXPECT_EQ(tab(), "tshFormulario");
    EXPECT_EQ(a().state(), State::Edit);
    EXPECT_EQ(host.lastText(), "Descrição deve ser informada.");
    // The list tab and its menu item are closed while the header is edited; the
    // menu's handler leaves the tab the same way all the same.
    EXPECT_FALSE(on("tshFolhaDados"));
    EXPECT_FALSE(on("mnuFolhaDados"));
    host.clear();
    click("mnuFolhaDados");
    EXPECT_EQ(tab(), "tshFormulario");
    EXPECT_EQ(host.texts(), std::vector<std::string>{"Descrição deve ser informada."});

    refuse = false;
    a()["DSREFEAUDIT"].setValue("Suco concentrado");
    EXPECT_TRUE(pick("tshFolhaDados"));
    EXPECT_EQ(tab(), "tshFolhaDados");
    EXPECT_EQ(a().state(), State::Browse);
    EXPECT_EQ(a()["DSREFEAUDIT"].asString(), "Suco concentrado");
    EXPECT_TRUE(c("mnuFolhaDados").checked);
    EXPECT_FALSE(c("mnuFormulario").checked);
    // The program's own switches are not the user's: they never post.
    ASSERT_TRUE(click("sbtAlterar"));
    s().comps.setActiveTab("pgcPadrao", "tshFolhaDados");
    EXPECT_EQ(a().state(), State::Edit);
    a().cancel();
}

TEST_F(ScreenState, PrintAndInvoicesSayTheyAreNotAvailableYet) {
    go(3);
    ASSERT_TRUE(on("sbtImprimir"));
    EXPECT_TRUE(click("sbtImprimir"));
    ASSERT_TRUE(on("sbtFatuVenc"));
    EXPECT_TRUE(click("sbtFatuVenc"));
    EXPECT_TRUE(click("mnuFatuVenc"));
    EXPECT_EQ(host.texts(), (std::vector<std::string>{
                                "O relatório de pedidos de análise ainda não está disponível nesta versão.",
                                "A consulta de faturas (vencimentos) ainda não está disponível nesta versão.",
                                "A consulta de faturas (vencimentos) ainda não está disponível nesta versão."}));
    for (const auto& m : host.messages) EXPECT_EQ(m.type, platform::MsgType::Information);
}

TEST_F(ScreenState, ScheduledTasksRaiseTheDueRequestsAndTheListIsReadAgain) {
    const int before = a().recordCount();
    go(3);
    ASSERT_TRUE(on("mnuGerarTarefasProgramadas"));
    EXPECT_TRUE(click("mnuGerarTarefasProgramadas"));
    // The demo's head office has two plans due; their requests join the list at once.
    EXPECT_EQ(host.texts(), std::vector<std::string>{"2 pedidos de análise gerados pelas tarefas programadas."});
    EXPECT_EQ(a().recordCount(), before + 2);
    int raised = 0;
    for (int row = 0; row < a().recordCount(); ++row) raised += a().valueAt(row, "IDORIGAUDIT").asString() == "TAR";
    EXPECT_EQ(raised, 2);

    // Without a confirmed filter there are no criteria: the filter asks for them.
    screen::sideDialogs().LiberaFiltroPedido();
    host.clear();
    std::vector<std::string> opened;
    host.dialogs.push_back([&](platform::Form& f) {
        opened.push_back(f.caption);
        f.ModalResult = platform::mrCancel;
    });
    EXPECT_TRUE(click("sbtGeraTarefa"));
    EXPECT_EQ(opened, std::vector<std::string>{"Filtro de Pedido de Análise"});
    EXPECT_EQ(a().recordCount(), before + 2);  // a cancelled filter keeps the list
}

}  // namespace

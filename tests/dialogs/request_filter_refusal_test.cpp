#include <fmt/format.h>

#include "dialogs/request_filter_fixture.h"

namespace filtertest {
namespace {

using cli_mxa07301::frmFiltroPedido;

// Bad input: each refused with its message and focus; the dialog stays open and
// the list keeps the rows of the last confirm.
TEST_F(RequestFilterFlow, BadInputIsRefusedAndTheListLeftAsItWas) {
    exec("INSERT INTO PRODUTO (CDPRODUTO, CDARVPROD, NMPRODUTO) VALUES ('T10100', '10100', 'Fim de faixa')");
    open([](Dialog& d) { click(d, "btnOK"); });
    const auto before = listed();
    ASSERT_FALSE(before.empty());

    struct Case {
        const char* what;
        std::function<void(Dialog&)> input;
        std::string message;
        std::string focus;
    };
    const std::vector<Case> cases = {
        {"period reversed",
         [](Dialog& d) {
             type(d, "depIni", date(0));
             type(d, "depFim", date(-1));
         },
         "Período inicial deve ser menor ou igual ao período final.", "depIni"},
        {"period start empty", [](Dialog& d) { type(d, "depIni", "__/__/____"); },
         "Período inicial deve ser informado.", "depIni"},
        {"impossible date", [](Dialog& d) { type(d, "depFim", "31/02/2024"); },
         "\"31/02/2024\" não é uma data valida.", "depFim"},
        {"only the range end", [](Dialog& d) { type(d, "medFim", "1010010001"); },
         "Intervalo inicial  do produto deve ser informado.", "medIni"},
        {"only the range start", [](Dialog& d) { type(d, "medIni", "1010010001"); },
         "Intervalo final do produto deve ser informado.", "medFim"},
        {"range reversed",
         [](Dialog& d) {
             type(d, "medIni", "4010010001");
             type(d, "medFim", "1010010001");
         },
         "Intervalo inicial deve ser menor ou igual ao intervalo final.", "medIni"},
        {"unknown product",
         [](Dialog& d) {
             type(d, "medIni", "1010010001");
             type(d, "medFim", "9999999999");
         },
         "Produto não cadastrado.", "medFim"},
        {"sector list with nothing chosen", [](Dialog& d) { check(d, "rbtListaSetor", true); },
         "Setor deve ser informado.", "rbtListaSetor"},
        {"order list with nothing chosen", [](Dialog& d) { check(d, "rbtLOP", true); },
         "Ordem de produção deve ser informado.", "rbtLOP"},
        {"unknown lot", [](Dialog& d) { type(d, "edtLote", "NAOEXISTE"); }, "Lote não cadastrado.",
         "edtLote"},
        {"unknown sub-lot",
         [](Dialog& d) {
             type(d, "edtLote", "SL240220");
             type(d, "edtSubLote", "9");
         },
         "Sub-Lote não cadastrado para o lote informado.", "edtSubLote"},
    };
    for (const auto& c : cases) {
        host.clear();
        int result = -1;
        open([&](Dialog& d) {
            // Back to criteria that pass, then the one bad input.
            type(d, "depIni", date(-30));
            type(d, "depFim", date(0));
            type(d, "medIni", "");
            type(d, "medFim", "");
            type(d, "edtLote", "");
            check(d, "rbtTodosSetor", true);
            check(d, "rbtTOP", true);
            c.input(d);
            click(d, "btnOK");
            result = d.ModalResult;
            click(d, "btnCancel");
        });
        EXPECT_EQ(result, platform::mrNone) << c.what;
        EXPECT_EQ(host.lastText(), c.message) << c.what;
        EXPECT_EQ(frmFiltroPedido->comps.activeControl(), c.focus) << c.what;
        EXPECT_TRUE(list().active()) << c.what;
        EXPECT_EQ(listed(), before) << c.what;
    }

    // On leaving a box the same checks hold the user there.
    open([](Dialog& d) {
        type(d, "edtLote", "NAOEXISTE");
        EXPECT_FALSE(leave(d, "edtLote"));
        type(d, "edtLote", "SL240220");
        EXPECT_EQ(d.comps["edtSubLote"].text, "");  // a new lot clears the sub-lot
        EXPECT_TRUE(leave(d, "edtLote"));
        type(d, "medIni", "123");
        EXPECT_FALSE(leave(d, "medIni"));
        EXPECT_EQ(d.comps.activeControl(), "medIni");
        click(d, "btnCancel");
    });
}

TEST_F(RequestFilterFlow, ServerFailureLeavesTheListClosedAndTheDialogOpen) {
    open([](Dialog& d) { click(d, "btnOK"); });
    ASSERT_TRUE(list().active());
    exec("ALTER TABLE AUDITORIA RENAME TO AUDITORIA_FORA");
    int result = -1;
    open([&](Dialog& d) {
        click(d, "btnOK");
        result = d.ModalResult;
    });
    EXPECT_EQ(result, platform::mrNone);
    EXPECT_FALSE(list().active());
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().type, platform::MsgType::Error);
    EXPECT_FALSE(host.lastText().empty());
    EXPECT_EQ(host.waitDepth, 0);  // the busy animation went away with the failure

    // Once the server answers again, the same dialog confirms and lists.
    exec("ALTER TABLE AUDITORIA_FORA RENAME TO AUDITORIA");
    open([](Dialog& d) { click(d, "btnOK"); });
    EXPECT_TRUE(list().active());
    EXPECT_FALSE(list().isEmpty());
}

TEST_F(RequestFilterFlow, NamedOptionsAreSavedAndLoadedPerOperator) {
    host.picks.push_back({sectorRow("0005")});
    open([](Dialog& d) {
        check(d, "chbAndamento", false);
        check(d, "chbOK", true);
        check(d, "rbtListaSetor", true);
        click(d, "btpSetor");
        type(d, "edtOpcao", "Concluídas do laboratório");
        click(d, "btfSaveOpc");
        click(d, "btnCancel");
    });
    EXPECT_EQ(host.lastText(), "Opção de filtro \"Concluídas do laboratório\" salva.");

    // Saved next to the demo's own option of this operator; picked from the list.
    host.picks.push_back({0});
    open([](Dialog& d) {
        check(d, "chbOK", false);
        check(d, "rbtTodosSetor", true);
        cli_mxa07301::stSetor.clear();
        click(d, "btfLoadOpc");
        EXPECT_TRUE(d.comps["chbOK"].checked);
        EXPECT_FALSE(d.comps["chbAndamento"].checked);
        EXPECT_TRUE(d.comps["rbtListaSetor"].checked);
        EXPECT_FALSE(d.comps["rbtTodosSetor"].checked);
        EXPECT_TRUE(d.comps["btpSetor"].enabled);
        EXPECT_EQ(cli_mxa07301::stSetor, "0005");
        click(d, "btnOK");
    });
    ASSERT_FALSE(host.lookups.empty());
    EXPECT_EQ(host.lookups.back().source->recordCount(), 2);
    EXPECT_EQ(frmFiltroPedido->stCDSETEXECAUD, "0005");
    EXPECT_EQ(frmFiltroPedido->stIDSTATUSAUDI, "_1_4");
    for (int i = 0; i < list().recordCount(); ++i) {
        EXPECT_EQ(list().valueAt(i, "CDSETEXECAUD").asString(), "0005");
        const auto sit = list().valueAt(i, "IDSTATUSAUDI").asString();
        EXPECT_TRUE(sit == "1" || sit == "4") << sit;
    }

    // Saving refuses what a confirm would refuse, and a nameless option.
    host.clear();
    open([](Dialog& d) {
        check(d, "rbtLOP", true);
        click(d, "btfSaveOpc");
        EXPECT_EQ(d.comps.activeControl(), "btpOP");
        check(d, "rbtTOP", true);
        type(d, "edtOpcao", "  ");
        click(d, "btfSaveOpc");
        EXPECT_EQ(d.comps.activeControl(), "edtOpcao");
        click(d, "btnCancel");
    });
    EXPECT_EQ(host.texts(), (std::vector<std::string>{"Ordem de produção deve ser informado.",
                                                      "Nome da opção deve ser informado."}));
}

}  // namespace
}  // namespace filtertest

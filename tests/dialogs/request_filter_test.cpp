#include <fmt/format.h>

#include "dialogs/request_filter_fixture.h"

namespace filtertest {
namespace {

using cli_mxa07301::frmFiltroPedido;

TEST_F(RequestFilterFlow, DefaultConfirmSendsAllMarkersAndListsPendingAndInProgress) {
    open([](Dialog& d) { click(d, "btnOK"); });

    auto& d = *frmFiltroPedido;
    EXPECT_EQ(d.ModalResult, platform::mrOk);
    EXPECT_EQ(d.stIDSTATUSAUDI, "_1_2");
    EXPECT_EQ(cli_mxa07301::stTipoAna, "T");
    EXPECT_EQ(d.stIDTPAUDITADO, "");
    EXPECT_EQ(d.stTIDTPAUDITADO, "T");
    EXPECT_EQ(d.stTDPRODUTO, "T");
    EXPECT_EQ(d.stINICIO, "");
    EXPECT_EQ(d.stFIM, "");
    EXPECT_EQ(d.stTNRORDPROD, "T");
    EXPECT_EQ(d.stTCDSETEXECAUD, "T");
    EXPECT_EQ(d.stTDLOTE, "T");
    EXPECT_EQ(d.stTDSUBLOTE, "T");
    EXPECT_GT(d.dtDTFIM.days, d.dtDTINI.days);

    ASSERT_TRUE(list().active());
    const double from = d.dtDTINI.days, to = d.dtDTFIM.days + 1;
    const auto expected = requestsWhere(
        fmt::format("IDSTATUSAUDI IN ('1', '2') AND DTINCLAUDIT >= {} AND DTINCLAUDIT < {}", from, to));
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(listed(), expected);
    EXPECT_TRUE(host.texts().empty()) << host.lastText();
}

TEST_F(RequestFilterFlow, ProductRangeEndIsPaddedWithZToTenCharacters) {
    // Two short codes, as a group of the product tree would be typed.
    exec(
        "INSERT INTO PRODUTO (CDPRODUTO, CDARVPROD, NMPRODUTO) VALUES ('T10000', '10000', 'Início de "
        "faixa')");
    exec("INSERT INTO PRODUTO (CDPRODUTO, CDARVPROD, NMPRODUTO) VALUES ('T10100', '10100', 'Fim de faixa')");
    open([](Dialog& d) {
        type(d, "medIni", "10000");
        type(d, "medFim", "10100");
        EXPECT_TRUE(leave(d, "medFim"));
        EXPECT_EQ(d.comps["edtProdFin"].text, "Fim de faixa");
        click(d, "btnOK");
    });
    auto& d = *frmFiltroPedido;
    EXPECT_EQ(d.stINICIO, "10000");
    EXPECT_EQ(d.stFIM, "10100zzzzz");
    EXPECT_EQ(d.stTDPRODUTO, "");
    // Every product under 1.01.00 is inside the range, nothing else is.
    const auto expected = requestsWhere(fmt::format(
        "CDPRODUTO IN (SELECT CDPRODUTO FROM PRODUTO WHERE CDARVPROD LIKE '10100%') AND IDSTATUSAUDI IN ('1', '2') "
        "AND DTINCLAUDIT >= {} AND DTINCLAUDIT < {}",
        d.dtDTINI.days, d.dtDTFIM.days + 1));
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(listed(), expected);
}

TEST_F(RequestFilterFlow, ReopeningRestoresTheConfirmedCriteria) {
    host.picks.push_back({sectorRow("0001"), sectorRow("0005")});
    open([](Dialog& d) {
        check(d, "chbPendente", false);
        check(d, "chbOK", true);
        check(d, "chbMatPrima", true);
        check(d, "rbtListaSetor", true);
        EXPECT_TRUE(d.comps["btpSetor"].enabled);
        click(d, "btpSetor");
        type(d, "depIni", date(-400));
        type(d, "depFim", date(0));
        type(d, "medIni", "1010010001");
        type(d, "medFim", "4010010001");
        type(d, "edtLote", "SL240220");
        click(d, "btnOK");
    });
    ASSERT_EQ(frmFiltroPedido->ModalResult, platform::mrOk) << host.lastText();
    EXPECT_EQ(cli_mxa07301::stSetor, "0001,0005");
    const auto* first = frmFiltroPedido;

    // The user changes everything and cancels; the next opening shows the confirmed criteria.
    auto expectConfirmed = [](Dialog& d) {
        EXPECT_FALSE(d.comps["chbPendente"].checked);
        EXPECT_TRUE(d.comps["chbAndamento"].checked);
        EXPECT_TRUE(d.comps["chbOK"].checked);
        EXPECT_TRUE(d.comps["chbMatPrima"].checked);
        EXPECT_TRUE(d.comps["rbtListaSetor"].checked);
        EXPECT_FALSE(d.comps["rbtTodosSetor"].checked);
        EXPECT_EQ(cli_mxa07301::stSetor, "0001,0005");
        EXPECT_EQ(d.comps["depIni"].text, date(-400));
        EXPECT_EQ(d.comps["depFim"].text, date(0));
        EXPECT_EQ(d.comps["medIni"].text, "1010010001");
        EXPECT_EQ(d.comps["medFim"].text, "4010010001");
        EXPECT_FALSE(d.comps["edtProdIni"].text.empty());
    };
    const auto rows = list().recordCount();
    open([&](Dialog& d) {
        expectConfirmed(d);
        check(d, "chbOK", false);
        check(d, "rbtTodosSetor", true);
        type(d, "medIni", "");
        type(d, "depIni", date(-1));
        click(d, "btnCancel");
    });
    EXPECT_EQ(list().recordCount(), rows);  // Cancel never reloads
    open([&](Dialog& d) {
        expectConfirmed(d);
        // Not kept in the criteria: the hidden dialog still shows it.
        EXPECT_EQ(d.comps["edtLote"].text, "SL240220");
        click(d, "btnCancel");
    });
    EXPECT_EQ(frmFiltroPedido, first);  // one dialog per screen
}

TEST_F(RequestFilterFlow, CancellingTheFirstOpeningKeepsTheDefaults) {
    open([](Dialog& d) {
        check(d, "chbPendente", false);
        click(d, "btnCancel");
    });
    EXPECT_FALSE(list().active());
    open([](Dialog& d) {
        EXPECT_TRUE(d.comps["chbPendente"].checked);
        EXPECT_TRUE(d.comps["chbAndamento"].checked);
        EXPECT_FALSE(d.comps["depIni"].text.empty());
        click(d, "btnOK");
    });
    EXPECT_EQ(frmFiltroPedido->stIDSTATUSAUDI, "_1_2");
}

TEST_F(RequestFilterFlow, CombinedFilterListsExactlyTheMatchingDemoRequests) {
    const auto period = [] {
        const double today = core::DateTime::now().datePart().days;
        return fmt::format("DTINCLAUDIT >= {} AND DTINCLAUDIT < {}", today - 400, today + 1);
    }();
    host.picks.push_back({sectorRow("0001"), sectorRow("0005")});
    auto choose = [](Dialog& d) {
        check(d, "chbPendente", false);
        check(d, "chbNaoOK", true);  // with "Em Andamento": "_2_5"
        check(d, "chbMatPrima", true);
        check(d, "chbProdAcabado", true);
        check(d, "rbtListaSetor", true);
        click(d, "btpSetor");
        type(d, "depIni", date(-400));
        type(d, "depFim", date(0));
        type(d, "medIni", "1010010001");
        type(d, "medFim", "4010010001");
    };
    open([&](Dialog& d) {
        choose(d);
        click(d, "btnOK");
    });
    ASSERT_EQ(frmFiltroPedido->ModalResult, platform::mrOk) << host.lastText();
    EXPECT_EQ(frmFiltroPedido->stIDSTATUSAUDI, "_2_5");
    EXPECT_EQ(frmFiltroPedido->stIDTPAUDITADO, "_M_A");
    const auto expected = requestsWhere(
        "IDSTATUSAUDI IN ('2', '5') AND IDTPAUDITADO IN ('M', 'A') AND CDSETEXECAUD IN ('0001', '0005') AND "
        "CDPRODUTO IN (SELECT CDPRODUTO FROM PRODUTO WHERE CDARVPROD >= '1010010001' AND CDARVPROD <= "
        "'4010010001') AND " +
        period);
    EXPECT_EQ(expected, (std::set<std::string>{"0000000003", "0000000005", "0000000006", "0000000007", "0000000021",
                                               "0000000023", "0000000024", "0000000028", "0000000031"}));
    EXPECT_EQ(listed(), expected);

    // The same with the lot: its two requests, one of each sector.
    open([&](Dialog& d) {
        type(d, "edtLote", "SL240220");
        EXPECT_TRUE(leave(d, "edtLote"));
        click(d, "btnOK");
    });
    EXPECT_EQ(listed(), (std::set<std::string>{"0000000023", "0000000028"}));
    for (int i = 0; i < list().recordCount(); ++i)
        EXPECT_EQ(list().valueAt(i, "NRLOTEESTQ").asString(), "SL240220");
}

TEST_F(RequestFilterFlow, OrderAndLotLookupsFillTheCriteria) {
    platform::TADOIBQuery q;
    q.SQL = q.SQL_ORACLE = q.SQL_MSSQL = q.SQL_IB =
        "SELECT DISTINCT NRORDPROD FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRORDPROD IS NOT NULL "
        "AND NRORDPROD IN (SELECT NRORDPROD FROM ORDEMPROD WHERE CDFILIAL = '0001') ORDER BY NRORDPROD";
    q.Open();
    ASSERT_GE(q.recordCount(), 2);
    q.first();
    const std::string first = q.fieldAt(0).asString();
    q.next();
    const std::string second = q.fieldAt(0).asString();
    // Rows of the order lookup (orders of the branch, by number) for those two.
    platform::TADOIBQuery o;
    o.SQL = o.SQL_ORACLE = o.SQL_MSSQL = o.SQL_IB =
        "SELECT DISTINCT NRORDPROD FROM ORDEMPROD WHERE CDFILIAL = '0001' ORDER BY NRORDPROD";
    o.Open();
    std::vector<int> rows;
    int row = 0;
    for (o.first(); !o.eof(); o.next(), ++row)
        if (o.fieldAt(0).asString() == first || o.fieldAt(0).asString() == second) rows.push_back(row);
    host.picks.push_back(rows);
    host.picks.push_back({0});  // the first lot of the lot lookup

    open([](Dialog& d) {
        auto key = platform::Key::named(platform::vk::F9);
        platform::raiseKey(d.comps["rbtLOP"], key);  // nothing while "Todos" is chosen
        EXPECT_TRUE(d.comps["btpOP"].enabled == false);
        check(d, "rbtLOP", true);
        key = platform::Key::named(platform::vk::F9);
        EXPECT_FALSE(platform::raiseKey(d.comps["rbtLOP"], key));
        key = platform::Key::named(platform::vk::F9);
        platform::raiseKey(d.comps["edtLote"], key);
        EXPECT_FALSE(d.comps["edtLote"].text.empty());
        type(d, "edtLote", "");
        type(d, "depIni", date(-400));
        check(d, "chbOK", true);
        check(d, "chbNaoOK", true);
        click(d, "btnOK");
    });
    EXPECT_EQ(cli_mxa07301::stOP, first + "," + second);
    EXPECT_EQ(frmFiltroPedido->stNRORDPROD, first + "," + second);
    EXPECT_EQ(frmFiltroPedido->stTNRORDPROD, "");
    const auto expected = requestsWhere(
        fmt::format("NRORDPROD IN ('{}', '{}') AND IDSTATUSAUDI IN ('1', '2', '4', '5') AND DTINCLAUDIT >= "
                    "{} AND DTINCLAUDIT < {}",
                    first, second, frmFiltroPedido->dtDTINI.days, frmFiltroPedido->dtDTFIM.days + 1));
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(listed(), expected);
    EXPECT_EQ(host.lookups.size(), 2u);
    EXPECT_EQ(host.lookups[0].title, "Ordem de Produção");
    EXPECT_TRUE(host.lookups[0].multiSelect);
    EXPECT_EQ(host.lookups[1].title, "Lote/Sub-Lote");
}

}  // namespace
}  // namespace filtertest

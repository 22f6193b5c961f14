// The partial approval dialog over the main screen's current request, against the
// real server with the demo factory; the scripted host plays the user.
#include "dialogs/partial_approval.h"

#include <fmt/format.h>

#include <functional>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "dialogs/request_filter.h"
#include "pkg/side_dialogs.h"

using namespace dialogtest;
using cli_mxa07307::TfrmAprovaParcial;

namespace {

class PartialApprovalDialog : public testsupport::ScreenFixture {
protected:
    void SetUp() override {
        startModule(true);
        pkg::installModuleDialogs();
        auto& form = newScreen();
        screen::frmPedidoAna = &form;
        form.FormCreate();
        const auto list =
            testsupport::call("GetAuditoria", {"", "T", "", "T", "", "T", "T", "", "", "T", core::DateTime{},
                                               core::DateTime{}, "", "T", "", "T", "0001", "T"});
        ASSERT_TRUE(list.result.isPacket()) << list.result.error;
        a().setData(*list.result.packet);
        host.clear();
    }
    void TearDown() override {
        cli_mxa07301::LiberaFiltroPedido();
        ScreenFixture::TearDown();
    }

    // Opens the dialog over request `n` of the head office, in approval or view mode.
    void open(int n, bool approval, std::function<void(TfrmAprovaParcial&)> script) {
        const std::string number = fmt::format("{:010d}", n);
        if (a()["NRAUDITORIA"].asString() != number) {
            ASSERT_TRUE(a().locate("NRAUDITORIA", core::Value(number)));
        }
        s().boAprovacao = approval;
        host.dialogs.push_back([script](platform::Form& f) { script(dynamic_cast<TfrmAprovaParcial&>(f)); });
        cli_mxa07307::CriaAprovaParc();
        EXPECT_EQ(cli_mxa07307::frmAprovaParcial, nullptr);
        EXPECT_FALSE(cli_mxa07307::boIdCriado);
    }
    // Cancels the dialog; true when the main screen's refresh ran (with no filter
    // confirmed yet, refreshing the list opens the filter, which is cancelled).
    bool cancelRefreshes(TfrmAprovaParcial& d) {
        bool refreshed = false;
        host.dialogs.push_back(
            [&refreshed](platform::Form& f) { refreshed = f.caption == "Filtro de Pedido de Análise"; });
        EXPECT_TRUE(click(d, "sbtCancel"));
        EXPECT_EQ(d.ModalResult, platform::mrCancel);
        return refreshed;
    }
    static std::string icon(TfrmAprovaParcial& d, int row) {
        const auto& column = *d.comps["dbgItem"].column("IDOPCACEITIN");
        platform::CellDraw cell(d.cdsItemInsAudit, row, column, false, false, "");
        column.onDraw(cell);
        return cell.image;
    }
};

TEST_F(PartialApprovalDialog, ApprovalProposesTheLotAndChecksTheQuantitiesBeforeHandingThemBack) {
    s().vrAprovada = s().vrReprovada = -1;
    open(31, true, [&](TfrmAprovaParcial& d) {
        EXPECT_EQ(d.caption, "Aprovação Parcial de Lote");
        auto& c = d.comps;
        EXPECT_EQ(c["edtLote"].text, "AZ240310");
        EXPECT_EQ(c["edtNomeProduto"].text, "Açúcar Cristal");
        EXPECT_EQ(c["edtSubLote"].text, "0008");  // after 0007
        EXPECT_FALSE(c["edtSubLote"].enabled);
        EXPECT_EQ(c["edtQtAprovada"].text, "10");  // the whole lot proposed as approved
        EXPECT_EQ(c["edtQtReprovada"].text, "");
        EXPECT_EQ(c["edtQuarentena"].text, "000001 - Quarentena Matéria-Prima");
        EXPECT_EQ(c["edtAprovado"].text, "000002 - Matéria-Prima Liberada");
        EXPECT_EQ(c["edtReprovado"].text, "000005 - Reprovados");
        EXPECT_TRUE(c["ckbQua"].checked);  // still in progress: the lot is in quarantine
        EXPECT_FALSE(c["ckbAprova"].checked);
        ASSERT_EQ(d.cdsItemInsAudit.recordCount(), 1);
        EXPECT_EQ(d.cdsItemInsAudit["NMINSPECAO"].asString(), "Contagem Total de Bactérias");
        EXPECT_EQ(icon(d, 0), "imgCancela");

        type(d, "edtQtAprovada", "12");
        EXPECT_TRUE(leave(d, "edtQtAprovada"));
        EXPECT_EQ(c["edtQtReprovada"].text, "-2");
        EXPECT_FALSE(click(d, "sbtConfirma"));  // the sum matches, but stock would go negative
        EXPECT_EQ(host.lastText(), "Quantidade aprovada e quantidade reprovada não podem ser negativas.");

        type(d, "edtQtReprovada", "três");
        EXPECT_FALSE(leave(d, "edtQtReprovada"));
        EXPECT_EQ(host.lastText(), "'três' não é um número válido.");
        EXPECT_EQ(c["edtQtAprovada"].text, "12");  // nothing changed
        EXPECT_FALSE(click(d, "sbtConfirma"));

        type(d, "edtQtAprovada", "7");
        EXPECT_TRUE(leave(d, "edtQtAprovada"));
        EXPECT_EQ(c["edtQtReprovada"].text, "3");
        type(d, "edtQtAprovada", "6");  // not left: 6 + 3 is not the stock
        EXPECT_FALSE(click(d, "sbtConfirma"));
        EXPECT_EQ(host.lastText(),
                  "Quantidade total informada não corrresponde à quantidade do lote do produto atual no estoque.");
        EXPECT_EQ(s().vrAprovada, -1);
        type(d, "edtQtAprovada", "7");
        EXPECT_TRUE(click(d, "sbtConfirma"));
        EXPECT_EQ(d.ModalResult, platform::mrOk);
    });
    EXPECT_FALSE(cli_mxa07307::boCancela);
    EXPECT_EQ(s().vrAprovada, 7);
    EXPECT_EQ(s().vrReprovada, 3);
    EXPECT_EQ(s().stNewSubLote, "0008");

    // An empty quantity counts as 0: nothing at all cannot be split, the whole lot can.
    open(31, true, [&](TfrmAprovaParcial& d) {
        type(d, "edtQtAprovada", "0");
        EXPECT_FALSE(click(d, "sbtConfirma"));
        EXPECT_EQ(host.lastText(),
                  "Não é possível aprovação parcial de um lote que não possui quantidade no estoque de quarentena. ");
        type(d, "edtQtAprovada", "10");
        EXPECT_TRUE(click(d, "sbtConfirma"));
        EXPECT_EQ(d.comps["edtQtReprovada"].text, "0");
    });
    EXPECT_EQ(s().vrAprovada, 10);
    EXPECT_EQ(s().vrReprovada, 0);
}

TEST_F(PartialApprovalDialog, QuantitiesCompareToTheThousandthAndALotIsRequired) {
    exec("UPDATE POSESTOQUE SET QTESTOQUE = 0.3 WHERE NRLOTEESTQ = 'AZ240310' AND NRSUBLOTE = ' '");
    open(31, true, [&](TfrmAprovaParcial& d) {
        EXPECT_EQ(d.comps["edtQtAprovada"].text, "0,3");
        type(d, "edtQtAprovada", "0,1");
        type(d, "edtQtReprovada", "0,2");
        EXPECT_TRUE(click(d, "sbtConfirma")) << host.lastText();
    });
    EXPECT_DOUBLE_EQ(s().vrAprovada, 0.1);
    EXPECT_DOUBLE_EQ(s().vrReprovada, 0.2);

    // A lot without sub-lots starts them at 0001.
    open(30, true, [&](TfrmAprovaParcial& d) {
        EXPECT_EQ(d.comps["edtSubLote"].text, "0001");
        EXPECT_EQ(d.comps["edtQtAprovada"].text, "50");
    });

    a().edit();
    f("NRLOTEESTQ").setValue("");
    open(30, true, [&](TfrmAprovaParcial& d) {
        EXPECT_FALSE(click(d, "sbtConfirma"));
        EXPECT_EQ(host.lastText(), "Não é possível realizar aprovação parcial pois esta análise não possui lote.");
    });
    a().cancel();
    EXPECT_TRUE(cli_mxa07307::boCancela);
}

TEST_F(PartialApprovalDialog, LocationsFollowTheProcess) {
    exec("UPDATE PARAMMAN SET IDLIBLOTEEST = '3' WHERE CDFILIAL = '0001'");
    open(21, true, [&](TfrmAprovaParcial& d) {  // finished product, lot release without quarantine
        EXPECT_EQ(d.comps["edtQuarentena"].text, "Processo não controla Quarentena");
        EXPECT_EQ(d.comps["edtAprovado"].text, "000004 - Produto Acabado Liberado");
        EXPECT_EQ(d.comps["edtReprovado"].text, "000005 - Reprovados");
        EXPECT_TRUE(d.comps["edtQtAprovada"].enabled);
    });
    open(16, true, [&](TfrmAprovaParcial& d) {  // product in process
        for (const char* box : {"edtQuarentena", "edtAprovado", "edtReprovado"})
            EXPECT_EQ(d.comps[box].text, "Análise de Produto em Processo não movimenta Estoque");
        for (const char* box : {"edtQtAprovada", "edtQtReprovada", "edtSubLote"}) EXPECT_FALSE(d.comps[box].enabled);
    });
}

TEST_F(PartialApprovalDialog, ViewShowsTheRecordedSplitAndCancelRefreshesTheScreenInBothModes) {
    s().vrAprovada = -1;
    open(7, false, [&](TfrmAprovaParcial& d) {
        auto& c = d.comps;
        EXPECT_EQ(c["edtQtAprovada"].text, "1200");
        EXPECT_EQ(c["edtQtReprovada"].text, "300");
        EXPECT_EQ(c["edtSubLote"].text, "0001");
        for (const char* name : {"edtQtAprovada", "edtQtReprovada", "edtSubLote", "sbtConfirma"})
            EXPECT_FALSE(c[name].enabled) << name;
        EXPECT_TRUE(c["ckbAprova"].checked);  // concluded: the parts are where they went
        EXPECT_GE(d.cdsItemInsAudit.recordCount(), 1);
        EXPECT_TRUE(cancelRefreshes(d));
    });
    EXPECT_TRUE(cli_mxa07307::boCancela);
    EXPECT_EQ(s().vrAprovada, -1);

    open(31, true, [&](TfrmAprovaParcial& d) {
        type(d, "edtQtAprovada", "7");
        EXPECT_TRUE(cancelRefreshes(d));
    });
    EXPECT_TRUE(cli_mxa07307::boCancela);
    EXPECT_EQ(s().vrAprovada, -1);
}

}  // namespace

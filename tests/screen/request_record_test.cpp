#include <gtest/gtest.h>

#include <memory>

#include "core/format.h"
#include "platform/handler.h"
#include "platform/host.h"
#include "platform/query.h"
#include "platform/scripted_host.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "support/screen_fixture.h"

namespace {

// The screen made as the module entry makes it, against the real server with the demo data.
class RequestRecord : public testsupport::ScreenFixture {
protected:
    void SetUp() override {
        startModule();
        s = &createScreen();
    }

    screen::TfrmPedidoAna* s = nullptr;
};

TEST_F(RequestRecord, NewRequestStartsPendingWithTheServerDateAndTheOperator) {
    auto& a = s->cdsAuditoria;
    a.open();
    screen::boVdTeorVazio = screen::boVdTeorInv = true;
    s->comps["chbAnaCompat"].checked = true;
    const auto before = core::DateTime::now();
    a.append();

    EXPECT_EQ(a["IDSTATUSAUDI"].asString(), "1");
    EXPECT_EQ(a["IDSTATUSAUDI"].displayText(), "Pendente");
    EXPECT_EQ(a["CDFILIAL"].asString(), "0001");
    EXPECT_EQ(a["CDOPEINCAUDI"].asString(), "DEMO");
    EXPECT_EQ(a["NMOPERADOR"].asString(), platform::session().nomeOperador);
    EXPECT_FALSE(platform::session().nomeOperador.empty());
    EXPECT_EQ(a["IDORIGAUDIT"].asString(), "ANA");
    EXPECT_EQ(a["IDLIBERAUDIT"].asString(), "S");
    EXPECT_TRUE(a["NRAUDITORIA"].isNull());
    // Date and hour boxes: today's server date and its time of day.
    EXPECT_EQ(a["DATA"].asDateTime().datePart(), before.datePart());
    EXPECT_NEAR(a["HORA"].asDateTime().days, before.days, 1.0 / 24);
    EXPECT_EQ(s->comps["medHora"].text, core::formatDateTime("hh:nn", a["HORA"].asDateTime()));
    EXPECT_FALSE(s->comps["chbAnaCompat"].checked);
    EXPECT_FALSE(screen::boVdTeorVazio);
    EXPECT_FALSE(screen::boVdTeorInv);

    // The form tab, the product box focused, the brand open only while inserting.
    EXPECT_EQ(s->comps.activeTab("pgcPadrao"), "tshFormulario");
    EXPECT_EQ(s->comps.activeControl(), "dbeProduto");
    EXPECT_TRUE(s->comps["dbeMarcaProd"].enabled);
    EXPECT_TRUE(s->comps["btnPesqMarca"].enabled);
    a.cancel();
    EXPECT_FALSE(s->comps["dbeMarcaProd"].enabled);
    EXPECT_FALSE(s->comps["lblMarca"].enabled);
}

TEST_F(RequestRecord, TheFilterWaitsWhileTheHeaderIsEdited) {
    // The filter reloads the list: opened during an insert it used to drop the new
    // request without a word.
    auto& a = s->comps;
    auto& set = s->cdsAuditoria;
    set.open();
    EXPECT_TRUE(a["sbtFiltro"].enabled);
    set.append();
    set["DSREFEAUDIT"].setValue("Nova análise");
    EXPECT_FALSE(a["sbtFiltro"].enabled);
    EXPECT_FALSE(a["mnuFiltrar"].enabled);
    platform::runHandler(a["mnuFiltrar"].onClick);  // the menu follows its button
    EXPECT_EQ(set.state(), core::DataSetState::Insert);
    EXPECT_EQ(set["DSREFEAUDIT"].asString(), "Nova análise");
    set.cancel();
    EXPECT_TRUE(a["sbtFiltro"].enabled);
    EXPECT_TRUE(a["mnuFiltrar"].enabled);
}

TEST_F(RequestRecord, SituationAndProcessAreShownAndTypedAsTheirTexts) {
    auto& a = s->cdsAuditoria;
    a.open();
    a.append();
    auto& sit = a["IDSTATUSAUDI"];
    sit.setText("Concluído OK");
    EXPECT_EQ(sit.asString(), "4");
    sit.setText("Concluído Não OK");
    EXPECT_EQ(sit.asString(), "5");
    for (const char* other : {"Concluido OK", "concluído ok", "4", "Qualquer", ""}) {
        sit.setText(other);
        EXPECT_EQ(sit.asString(), "5") << other;
    }
    sit.setValue("9");  // outside the list: the table's answer for the key
    EXPECT_EQ(sit.displayText(), "9");

    auto& proc = a["IDTPAUDITADO"];
    EXPECT_EQ(proc.displayText(), "");
    proc.setText("Material de Embalagem");
    EXPECT_EQ(proc.asString(), "E");
    EXPECT_EQ(proc.displayText(), "Material de Embalagem");
    proc.setText("Produto Acabado");
    EXPECT_EQ(proc.asString(), "A");
    proc.setText("Produto acabado");  // the filter's spelling is not the list's
    EXPECT_EQ(proc.asString(), "A");
}

TEST_F(RequestRecord, TimeSpentTaxNumberAndCaptionLine) {
    auto& a = s->cdsAuditoria;
    a.open();
    a.append();
    a["QTHRAUDIT"].setValue(0.0);
    EXPECT_EQ(a["QTHRAUDIT"].displayText(), "");
    a["QTHRAUDIT"].setValue(1.5);
    EXPECT_EQ(a["QTHRAUDIT"].displayText(), "1:30");

    a["IDTPIJURFORN"].setValue("J");
    a["NRINSJURFORN"].setValue("12345678000199");
    EXPECT_EQ(a["NRINSJURFORN"].displayText(), "12.345.678/0001-99");
    EXPECT_EQ(a["NRINSJURFORN"].text(), "12345678000199");  // what the user edits
    s->comps.setFocus("dbeFornecedor");
    EXPECT_EQ(a["NRINSJURFORN"].displayText(), "12345678000199");
    s->comps.setFocus("dbeDesc");
    a["IDTPIJURFORN"].setValue("F");
    a["NRINSJURFORN"].setValue("12345678901");
    EXPECT_EQ(a["NRINSJURFORN"].displayText(), "123.456.789-01");

    // The list paints each situation as its image, and nothing for a blank one.
    const auto& col = s->comps["dbgPadrao"].columns.at(0);
    ASSERT_EQ(col.field, "IDSTATUSAUDI");
    ASSERT_TRUE(col.onDraw);
    core::RecordSet list;
    list.addField("IDSTATUSAUDI", core::FieldType::String, 1);
    list.open();
    for (const char* code : {"1", "2", "3", "4", "5", " ", ""}) {
        list.append();
        if (*code) list["IDSTATUSAUDI"].setValue(code);
        list.post();
    }
    std::vector<std::string> images;
    for (int row = 0; row < list.recordCount(); ++row) {
        platform::CellDraw cell{list, row, col, false, false, list.displayTextAt(row, col.field)};
        col.onDraw(cell);
        EXPECT_EQ(cell.text, "");  // the image stands in for the code
        EXPECT_EQ(cell.imageAlignment, platform::Alignment::Left);
        images.push_back(cell.image);
    }
    EXPECT_EQ(images, (std::vector<std::string>{"imgPendente", "imgAndamento", "imgCancelado", "imgOK", "imgCancela",
                                                "", ""}));

    // A sub-lot of one blank sits between the slash and the dash separators.
    a["NMPRODUTO"].setValue("Ácido Cítrico");
    a["NRLOTEESTQ"].setValue("AC240301");
    a["NRSUBLOTE"].setValue(" ");
    a["TIPOANA"].setValue("Análise");
    EXPECT_EQ(a["dbtNome"].asString(), "Ácido Cítrico   -   AC240301   /       -   Análise");
}

TEST_F(RequestRecord, OpeningTheListEnablesPartialApprovalOnlyForPartialItems) {
    auto& a = s->cdsAuditoria;
    const auto packet =
        testsupport::call("GetAuditoria", {"", "T", "", "T", "", "T", "T", "", "", "T", core::DateTime{},
                                           core::DateTime{}, "", "T", "", "T", "0001", "T"});
    ASSERT_TRUE(packet.result.isPacket()) << packet.result.error;
    ASSERT_GT(packet.result.packet->rows.size(), 2u);

    exec("UPDATE ITEMINSAUDIT SET IDPARCIAL = 'N'");
    a.setData(*packet.result.packet);
    EXPECT_FALSE(s->comps["btnFechaParc"].enabled);

    // The current request after opening is the first: put one with items there.
    platform::TADOIBQuery q;
    q.SQL = q.SQL_ORACLE = q.SQL_MSSQL = q.SQL_IB =
        "SELECT MIN(NRAUDITORIA) AS NR FROM ITEMINSAUDIT WHERE CDFILIAL = '0001'";
    q.Open();
    const std::string withItems = q.fieldAt(0).asString();
    ASSERT_FALSE(withItems.empty());
    core::Packet reordered = *packet.result.packet;
    const int nr = reordered.fieldIndex("NRAUDITORIA");
    for (size_t i = 0; i < reordered.rows.size(); ++i)
        if (reordered.rows[i][nr].asString() == withItems) std::swap(reordered.rows[0], reordered.rows[i]);
    exec("UPDATE ITEMINSAUDIT SET IDPARCIAL = 'S' WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + withItems +
         "'");
    a.setData(reordered);
    EXPECT_EQ(a["NRAUDITORIA"].asString(), withItems);
    EXPECT_TRUE(s->comps["btnFechaParc"].enabled);
    EXPECT_GT(s->cdsExisteParcial["QTINSPEC"].asFloat(), 0.0);

    // An empty list shows the list tab and leaves the button off.
    s->comps.setActiveTab("pgcPadrao", "tshFormulario");
    core::Packet empty = *packet.result.packet;
    empty.rows.clear();
    a.setData(empty);
    EXPECT_EQ(s->comps.activeTab("pgcPadrao"), "tshFolhaDados");
    EXPECT_FALSE(s->comps["btnFechaParc"].enabled);
}

}  // namespace

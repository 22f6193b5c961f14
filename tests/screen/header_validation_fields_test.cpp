// Field checks of the request header against the real server: product, lot and
// sub-lot, sector, supplier, equipment, brand and the content box.
#include "header_validation_fixture.h"

namespace headertest {
namespace {

using core::DataSetState;
using platform::Color;

TEST_F(HeaderFlow, ProductBoxFillsClearsAndRefuses) {
    newRequest();
    type("CDARVPROD", "1.01.001.0001");
    EXPECT_TRUE(leave("dbeProduto")) << shown();
    EXPECT_EQ(f("NMPRODUTO").asString(), "Ácido cítrico");
    EXPECT_EQ(f("CDPRODUTO").asString(), "P1");
    EXPECT_EQ(f("IDTEOROBRIG").asString(), "S");
    EXPECT_EQ(host.waitCount, 1);
    EXPECT_EQ(host.waitDepth, 0);

    // Emptied: name and code go, without a word.
    type("CDARVPROD", "");
    EXPECT_TRUE(leave("dbeProduto"));
    EXPECT_TRUE(f("NMPRODUTO").isNull());
    EXPECT_TRUE(f("CDPRODUTO").isNull());
    EXPECT_TRUE(host.messages.empty());
    // At save time the product is mandatory.
    s().comps.setFocus("dbeDesc");
    EXPECT_EQ(refusal([&] { screen::Vd_Produto(s(), true); }), "Produto deve ser informado.");
    EXPECT_EQ(focus(), "dbeProduto");
    EXPECT_EQ(a().state(), DataSetState::Insert);

    // Unknown, and not a code of the product picture at all.
    for (const char* code : {"1.01.001.0099", "1.2"}) {
        type("CDARVPROD", code);
        s().comps.setFocus("dbeDesc");
        EXPECT_FALSE(leave("dbeProduto"));
        EXPECT_EQ(shown(), "Produto não cadastrado.");
        EXPECT_EQ(focus(), "dbeProduto");
    }

    // A product that does not demand the content leaves the demand of the first one.
    type("CDARVPROD", "1.01.001.0002");
    EXPECT_TRUE(leave("dbeProduto"));
    EXPECT_EQ(f("IDTEOROBRIG").asString(), "S");
    EXPECT_EQ(a().state(), DataSetState::Insert);
}

TEST_F(HeaderFlow, ChangingTheProductDropsItsLot) {
    newRequest();
    type("CDARVPROD", "1.01.001.0001");
    leave("dbeProduto");
    type("NRLOTEESTQ", "L100");
    type("NRSUBLOTE", "001");
    f("DTVALILOTE").setValue(kValid);
    type("CDARVPROD", "1.01.001.0002");
    EXPECT_TRUE(f("NRLOTEESTQ").isNull());
    EXPECT_TRUE(f("NRSUBLOTE").isNull());
    EXPECT_TRUE(f("DTVALILOTE").isNull());
    EXPECT_TRUE(f("NMPRODUTO").isNull());
    // The check writing back the same code is no change of the box.
    type("NRLOTEESTQ", "L200");
    EXPECT_TRUE(leave("dbeProduto"));
    EXPECT_EQ(f("NRLOTEESTQ").asString(), "L200");
}

TEST_F(HeaderFlow, LotUnknownForTheProductOrAtAll) {
    newRequest();
    type("CDARVPROD", "1.01.001.0001");
    leave("dbeProduto");
    s().comps.setActiveTab("pgcPadrao", "tshFolhaDados");
    type("NRLOTEESTQ", "L200");  // a lot of another product
    EXPECT_FALSE(leave("dbeLote"));
    EXPECT_EQ(shown(), "Lote não cadastrado para o produto informado.");
    EXPECT_EQ(focus(), "dbeLote");
    EXPECT_EQ(s().comps.activeTab("pgcPadrao"), "tshFormulario");

    type("CDARVPROD", "");
    leave("dbeProduto");
    type("NRLOTEESTQ", "L999");
    EXPECT_FALSE(leave("dbeLote"));
    EXPECT_EQ(shown(), "Lote não cadastrado.");
    type("NRLOTEESTQ", "L200");
    host.clear();
    EXPECT_TRUE(leave("dbeLote"));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(a().state(), DataSetState::Insert);
}

TEST_F(HeaderFlow, SubLotWithoutLotIsRefusedBeforeAnyLookup) {
    newRequest();
    type("NRSUBLOTE", "001");
    EXPECT_EQ(refusal([&] { screen::Vd_Lote(s(), "L", true); }), "Lote deve ser informado.");
    EXPECT_EQ(focus(), "dbeLote");
    EXPECT_EQ(host.waitCount, 0);  // every lot lookup runs inside the wait animation
    EXPECT_FALSE(s().cdsLote.active());
    // Not mandatory (the box exit), and no sub-lot at all: nothing to refuse.
    EXPECT_EQ(refusal([&] { screen::Vd_Lote(s(), "L", false); }), "");
    type("NRSUBLOTE", "");
    EXPECT_EQ(refusal([&] { screen::Vd_Lote(s(), "L", true); }), "");
}

TEST_F(HeaderFlow, SubLotBlankOrKnownFillsTheLotDates) {
    newRequest();
    type("CDARVPROD", "1.01.001.0001");
    leave("dbeProduto");
    type("NRLOTEESTQ", "L100");
    screen::Vd_Lote(s(), "L", true);
    screen::Vd_Lote(s(), "S", true);
    EXPECT_EQ(f("NRSUBLOTE").asString(), " ");
    EXPECT_EQ(f("DTVALILOTE").asDateTime(), kValid);
    EXPECT_EQ(s().comps["dbdDtValiLote"].text, "15/01/2026");
    EXPECT_EQ(f("NRLOTEFORN").asString(), "F-9");
    EXPECT_EQ(f("DTFABRPROD").asDateTime(), kFabr);

    type("NRSUBLOTE", "001");
    EXPECT_TRUE(f("DTVALILOTE").isNull());  // a new sub-lot drops the old dates
    screen::Vd_Lote(s(), "S", true);
    EXPECT_EQ(f("DTVALILOTE").asDateTime(), kValidSub);
    EXPECT_EQ(f("NRLOTEFORN").asString(), "F-9A");

    type("NRSUBLOTE", "009");
    s().comps.setFocus("dbeDesc");
    EXPECT_EQ(refusal([&] { screen::Vd_Lote(s(), "S", true); }),
              "SubLote não cadastrado para o lote informado.");
    EXPECT_EQ(focus(), "dbeSubLote");
    EXPECT_EQ(a().state(), DataSetState::Insert);
}

TEST_F(HeaderFlow, EarlierLookupNeverFillsARequestWithoutLot) {
    newRequest();
    type("NRLOTEESTQ", "L100");
    screen::Vd_Lote(s(), "L", false);  // leaves L100 in the lot set
    type("NRLOTEESTQ", "");
    screen::Vd_Lote(s(), "S", true);
    EXPECT_TRUE(f("DTVALILOTE").isNull());
    EXPECT_TRUE(f("NRLOTEFORN").isNull());
    EXPECT_TRUE(f("DTFABRPROD").isNull());
}

TEST_F(HeaderFlow, SectorSupplierAndEquipment) {
    newRequest();
    type("CDSETEXECAUD", "7");
    EXPECT_TRUE(leave("dbeSetor"));
    EXPECT_EQ(f("CDSETEXECAUD").asString(), "0007");
    EXPECT_EQ(f("NMSETOR").asString(), "Laboratório");
    type("CDSETEXECAUD", "99");
    EXPECT_TRUE(f("NMSETOR").isNull());
    EXPECT_FALSE(leave("dbeSetor"));
    EXPECT_EQ(shown(), "Setor não cadastrado.");

    EXPECT_EQ(refusal([&] { screen::Vd_Fornecedor(s(), true); }), "Fornecedor deve ser informado.");
    EXPECT_EQ(focus(), "dbeFornecedor");
    type("NRINSJURFORN", "12345678000190");
    EXPECT_TRUE(leave("dbeFornecedor"));
    EXPECT_EQ(f("CDFORNECED").asString(), "F1");
    EXPECT_EQ(f("NMFANTFORN").asString(), "Química Sul");
    EXPECT_EQ(f("IDTPIJURFORN").asString(), "J");
    type("NRINSJURFORN", "999");  // a different number drops the supplier at once
    EXPECT_TRUE(f("CDFORNECED").isNull());
    EXPECT_TRUE(f("NMFANTFORN").isNull());
    s().comps.setFocus("dbeDesc");
    EXPECT_FALSE(leave("dbeFornecedor"));
    EXPECT_EQ(shown(), "Fornecedor não cadastrado.");
    EXPECT_EQ(focus(), "dbeFornecedor");

    type("CDEQUIPPRO", "42");
    EXPECT_TRUE(leave("dbeCdEquipProd"));
    EXPECT_EQ(f("CDEQUIPPRO").asString(), "0000000042");
    EXPECT_EQ(f("NMEQUIPPRO").asString(), "Reator 2");
    type("CDEQUIPPRO", "43");
    EXPECT_TRUE(f("NMEQUIPPRO").isNull());
    s().comps.setFocus("dbeDesc");
    EXPECT_FALSE(leave("dbeCdEquipProd"));
    EXPECT_EQ(shown(), "Equipamento não cadastrado.");
    EXPECT_EQ(focus(), "dbeCdEquipProd");
    EXPECT_EQ(a().state(), DataSetState::Insert);
}

TEST_F(HeaderFlow, BrandCheckedOnlyWhileInserting) {
    newRequest();
    EXPECT_TRUE(s().comps["dbeMarcaProd"].enabled);
    type("CDMARCAPROD", "1");
    EXPECT_FALSE(leave("dbeMarcaProd"));  // no product yet
    EXPECT_EQ(shown(), "Produto deve ser informado.");
    EXPECT_EQ(focus(), "dbeMarcaProd");

    type("CDARVPROD", "1.01.001.0001");
    leave("dbeProduto");
    type("CDMARCAPROD", "1");
    EXPECT_TRUE(leave("dbeMarcaProd"));
    EXPECT_EQ(f("CDMARCAPROD").asString(), "00001");
    EXPECT_EQ(f("NMMARCA").asString(), "Marca A");
    type("CDMARCAPROD", "2");
    EXPECT_TRUE(f("NMMARCA").isNull());
    EXPECT_FALSE(leave("dbeMarcaProd"));
    EXPECT_EQ(shown(), "Marca informada não pertence ao produto.");

    loadRequest({{"CDFILIAL", "0001"},
                 {"NRAUDITORIA", "0000000001"},
                 {"IDSTATUSAUDI", "2"},
                 {"CDPRODUTO", "P1"},
                 {"CDARVPROD", "1010010001"},
                 {"CDMARCAPROD", "00001"},
                 {"NMMARCA", "Marca A"}});
    EXPECT_FALSE(s().comps["dbeMarcaProd"].enabled);
    a().edit();
    type("CDMARCAPROD", "2");
    EXPECT_TRUE(leave("dbeMarcaProd"));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(f("CDMARCAPROD").asString(), "2");
    EXPECT_EQ(f("NMMARCA").asString(), "Marca A");
}

TEST_F(HeaderFlow, ContentBoxFollowsProductLotAndSituation) {
    auto& box = s().comps["dbeDosagem"];
    newRequest();
    f("VRAPRPRODAUD").setValue(2.5);
    screen::Vd_Teor(s());  // no product nor lot: closed and emptied
    EXPECT_FALSE(box.enabled);
    EXPECT_FALSE(s().comps["lblDosagem"].enabled);
    EXPECT_EQ(box.color, Color::BtnFace);
    EXPECT_TRUE(f("VRAPRPRODAUD").isNull());

    type("CDARVPROD", "1.01.001.0001");
    leave("dbeProduto");
    type("NRLOTEESTQ", "L100");
    EXPECT_TRUE(leave("dbeLote"));
    EXPECT_TRUE(box.enabled);
    EXPECT_EQ(box.color, Color::InfoBk);  // the product demands it

    screen::boConcAnalise = true;
    screen::Vd_Teor(s());
    EXPECT_TRUE(screen::boVdTeorVazio);
    f("VRAPRPRODAUD").setValue(0.0);
    screen::Vd_Teor(s());
    EXPECT_FALSE(screen::boVdTeorVazio);
    EXPECT_TRUE(screen::boVdTeorInv);
    f("VRAPRPRODAUD").setValue(1.5);
    screen::Vd_Teor(s());
    EXPECT_FALSE(screen::boVdTeorVazio || screen::boVdTeorInv);
    screen::boConcAnalise = false;

    // A request stored concluded opens the box only to be concluded OK again.
    loadRequest({{"CDFILIAL", "0001"},
                 {"NRAUDITORIA", "0000000002"},
                 {"IDSTATUSAUDI", "5"},
                 {"CDPRODUTO", "P2"},
                 {"NRLOTEESTQ", "L200"},
                 {"VRAPRPRODAUD", 3.0},
                 {"IDTEOROBRIG", "N"}});
    screen::Vd_Teor(s());
    EXPECT_FALSE(box.enabled);
    EXPECT_EQ(f("VRAPRPRODAUD").asFloat(), 3.0);  // browsing changes nothing
    a().edit();
    f("IDSTATUSAUDI").setValue("4");
    screen::Vd_Teor(s());
    EXPECT_TRUE(box.enabled);
    EXPECT_EQ(box.color, Color::Window);
    f("IDSTATUSAUDI").setValue("3");
    screen::Vd_Teor(s());
    EXPECT_FALSE(box.enabled);
    EXPECT_TRUE(f("VRAPRPRODAUD").isNull());
}

}  // namespace
}  // namespace headertest

// Hours, dates and keys of the header boxes, the lookup buttons, the last-analysis
// check and the production stage's start.
#include "header_validation_fixture.h"
#include "support/backend_context.h"

namespace headertest {
namespace {

using core::DataSetState;

TEST_F(HeaderFlow, HourRewrittenThenChecked) {
    newRequest();
    auto& hora = s().comps["medHora"];
    for (const auto& [typed, rewritten] : std::vector<std::pair<std::string, std::string>>{
             {"9 :5 ", "09:05"}, {"9:5", "09:05"}, {"23:59", "23:59"}, {"", ":"}}) {
        hora.text = typed;
        EXPECT_TRUE(leave("medHora")) << typed;
        EXPECT_EQ(hora.text, rewritten);
    }
    EXPECT_TRUE(host.messages.empty());
    for (const auto& [typed, text] :
         std::vector<std::pair<std::string, std::string>>{{"24:00", "'24:00' não é uma hora válida."},
                                                          {"23:60", "'23:60' não é uma hora válida."},
                                                          {"12:", "'12:' não é uma hora válida."}}) {
        hora.text = typed;
        s().comps.setFocus("dbeDesc");
        EXPECT_FALSE(leave("medHora")) << typed;
        EXPECT_EQ(shown(), text);
        EXPECT_EQ(focus(), "medHora");
        EXPECT_EQ(a().state(), DataSetState::Insert);
    }
    // A browsed request is not checked on exit.
    a().cancel();
    s().comps["medHoraPrev"].text = "99:99";
    EXPECT_TRUE(leave("medHoraPrev"));
}

TEST_F(HeaderFlow, ZeroDateQuotedInTheRefusal) {
    newRequest();
    f("DTAMOSAUDI").setValue(core::DateTime(0));
    EXPECT_EQ(refusal([&] { screen::ValidaDataZ(s(), "dbdDtAmos"); }),
              "\"30/12/1899\" não é uma data valida.");
    EXPECT_EQ(focus(), "dbdDtAmos");
    f("DTAMOSAUDI").setValue(core::DateTime(-1));
    EXPECT_EQ(refusal([&] { screen::ValidaDataZ(s(), "dbdDtAmos"); }),
              "\"29/12/1899\" não é uma data valida.");
    f("DTAMOSAUDI").setValue(kValid);
    EXPECT_EQ(refusal([&] { screen::ValidaDataZ(s(), "dbdDtAmos"); }), "");
    f("DTAMOSAUDI").clear();
    EXPECT_EQ(refusal([&] { screen::ValidaDataZ(s(), "dbdDtAmos"); }), "");
    EXPECT_EQ(refusal([&] { screen::ValidaDataZ(s(), "dbdData"); }), "");  // today's server date
    EXPECT_EQ(a().state(), DataSetState::Insert);
}

TEST_F(HeaderFlow, KeyFiltersOfQuantityContentAndBrand) {
    newRequest();
    auto& qt = s().comps["dbeQtAmos"];
    EXPECT_EQ(press("dbeQtAmos", "-"), "");
    EXPECT_EQ(press("dbeQtAmos", "+"), "");
    EXPECT_EQ(press("dbeQtAmos", "5"), "5");
    qt.text = "12";
    s().comps.setFocus("dbeQtAmos");
    EXPECT_EQ(press("dbeQtAmos", ","), ",");
    qt.text = "12,5";
    EXPECT_EQ(press("dbeQtAmos", ","), "");
    EXPECT_EQ(press("dbeQtAmos", "."), "");
    EXPECT_EQ(press("dbeQtAmos", "\b"), "\b");

    EXPECT_EQ(press("dbeDosagem", "-"), "");
    EXPECT_EQ(press("dbeDosagem", "7"), "7");
    for (const char* sit : {"3", "4", "5"}) {
        f("IDSTATUSAUDI").setValue(sit);
        EXPECT_EQ(press("dbeDosagem", "7"), "") << sit;
        EXPECT_EQ(press("dbeDosagem", "\b"), "") << sit;
    }

    for (const char* k : {"0", "9", ",", "\b", "Delete"}) EXPECT_EQ(press("dbeMarcaProd", k), k);
    for (const char* k : {"a", "-", " ", "."}) EXPECT_EQ(press("dbeMarcaProd", k), "") << k;
}

TEST_F(HeaderFlow, HourKeysStartTheEditAndF9OpensTheLots) {
    loadRequest({{"CDFILIAL", "0001"}, {"NRAUDITORIA", "0000000001"}, {"IDSTATUSAUDI", "1"}});
    press("medHora", "Delete");
    EXPECT_EQ(a().state(), DataSetState::Browse);
    press("medHora", "1");
    EXPECT_EQ(a().state(), DataSetState::Edit);
    a().cancel();
    press("medHoraPrev", "Delete");
    EXPECT_EQ(a().state(), DataSetState::Edit);

    // A saved request keeps its lot: the lot lookup is closed, and F9 opens nothing.
    EXPECT_EQ(press("dbeSubLote", "F9"), "");
    EXPECT_TRUE(host.lookups.empty());
    a().cancel();
    newRequest();
    EXPECT_EQ(press("dbeSubLote", "F9"), "");
    ASSERT_EQ(host.lookups.size(), 1u);
    EXPECT_EQ(host.lookups[0].title, "Lote");
    EXPECT_EQ(press("dbeSubLote", "1"), "1");
}

TEST_F(HeaderFlow, LookupsFillTheHeader) {
    loadRequest({{"CDFILIAL", "0001"},
                 {"NRAUDITORIA", "0000000001"},
                 {"IDSTATUSAUDI", "1"},
                 {"NRLOTEESTQ", "X1"},
                 {"NRSUBLOTE", "002"}});
    host.picks.push_back({0});
    EXPECT_TRUE(click("btpProduto"));
    EXPECT_EQ(host.lookups.back().title, "Produto");
    EXPECT_EQ(a().state(), DataSetState::Edit);  // the pick started the edit
    EXPECT_EQ(f("CDARVPROD").asString(), "1010010001");
    EXPECT_EQ(f("CDPRODUTO").asString(), "P1");
    EXPECT_EQ(f("NMPRODUTO").asString(), "Ácido cítrico");
    EXPECT_TRUE(f("NRLOTEESTQ").isNull());  // a new product drops the old lot

    host.picks.push_back({1});  // L100 / 001 of P1
    EXPECT_TRUE(click("btpLote"));
    EXPECT_EQ(f("NRLOTEESTQ").asString(), "L100");
    EXPECT_EQ(f("NRSUBLOTE").asString(), "001");
    EXPECT_EQ(f("DTVALILOTE").asDateTime(), kValidSub);
    EXPECT_EQ(f("NRLOTEFORN").asString(), "F-9A");
    EXPECT_EQ(f("DTFABRPROD").asDateTime(), kFabr);

    host.picks.push_back({0});
    EXPECT_TRUE(click("btpSetor"));
    EXPECT_EQ(f("CDSETEXECAUD").asString(), "0007");
    EXPECT_EQ(f("NMSETOR").asString(), "Laboratório");

    host.picks.push_back({0});
    EXPECT_TRUE(click("btpFornecedor"));
    EXPECT_EQ(s().qryFornecedor.field("NRINSJURFORN").displayText(), "12.345.678/0001-90");
    EXPECT_EQ(f("NRINSJURFORN").asString(), "12345678000190");
    EXPECT_EQ(f("CDFORNECED").asString(), "F1");  // written with its number, not dropped by it
    EXPECT_EQ(f("NMFANTFORN").asString(), "Química Sul");

    host.picks.push_back({0});
    EXPECT_TRUE(click("btpEquipaProd"));
    EXPECT_EQ(f("CDEQUIPPRO").asString(), "0000000042");
    EXPECT_EQ(f("NMEQUIPPRO").asString(), "Reator 2");
    EXPECT_EQ(host.waitDepth, 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(HeaderFlow, LookupRefusalsAndEmptyLists) {
    newRequest();
    EXPECT_FALSE(click("btnPesqMarca"));  // refused in its before-event: nothing listed
    EXPECT_EQ(shown(), "Produto deve ser informado.");
    EXPECT_EQ(focus(), "dbeProduto");
    EXPECT_TRUE(host.lookups.empty());

    type("CDARVPROD", "1.01.001.0003");
    leave("dbeProduto");
    click("btnPesqMarca");
    EXPECT_EQ(shown(), "Não existe marca cadastrada para o produto.");
    EXPECT_EQ(focus(), "dbeMarcaProd");
    click("btpLote");
    EXPECT_EQ(shown(), "Não há lote cadastrado para o produto informado.");
    EXPECT_TRUE(host.lookups.empty());

    type("CDARVPROD", "1.01.001.0001");
    leave("dbeProduto");
    host.picks.push_back({0});
    click("btnPesqMarca");
    EXPECT_EQ(host.lookups.back().title, "Produto");
    EXPECT_EQ(f("CDMARCAPROD").asString(), "00001");
    EXPECT_EQ(f("NMMARCA").asString(), "Marca A");

    // An empty list says so and copies nothing.
    exec("DELETE FROM EQUIPAPROD");
    host.clear();
    click("btpEquipaProd");
    EXPECT_EQ(shown(), "Não há Equipamento cadastrado.");
    EXPECT_TRUE(f("CDEQUIPPRO").isNull());
    EXPECT_EQ(a().state(), DataSetState::Insert);
}

TEST_F(HeaderFlow, ServerErrorDuringALookupHidesTheWait) {
    newRequest();
    const auto& backend = testsupport::backendContext();
    exec(backend.dropTable("MARCAPRODUTO"));
    type("CDARVPROD", "1.01.001.0001");
    leave("dbeProduto");
    host.clear();
    EXPECT_FALSE(click("btnPesqMarca"));
    EXPECT_EQ(host.waitCount, 1);
    EXPECT_EQ(host.waitDepth, 0);
    EXPECT_NE(shown().find(backend.nameInMessages("MARCAPRODUTO")), std::string::npos) << shown();
    EXPECT_TRUE(host.lookups.empty());
    EXPECT_EQ(a().state(), DataSetState::Insert);
}

TEST_F(HeaderFlow, LastAnalysisOfAProductionOrder) {
    newRequest();
    screen::boUltAnalise = false;
    screen::Vd_UltimaAnalise(s());
    EXPECT_TRUE(screen::boUltAnalise);  // no production order

    exec(
        "INSERT INTO AUDITORIA (CDFILIAL, NRAUDITORIA, IDSTATUSAUDI, NRORDPROD, NRSUBORDPROD) VALUES "
        "('0001', '0000000010', '4', '0000000500', '1')");
    loadRequest({{"CDFILIAL", "0001"},
                 {"NRAUDITORIA", "0000000011"},
                 {"IDSTATUSAUDI", "2"},
                 {"NRORDPROD", "0000000500"},
                 {"NRSUBORDPROD", "1"}});
    screen::Vd_UltimaAnalise(s());
    EXPECT_TRUE(screen::boUltAnalise);  // the other one is concluded
    exec("UPDATE AUDITORIA SET IDSTATUSAUDI = '2' WHERE NRAUDITORIA = '0000000010'");
    screen::Vd_UltimaAnalise(s());
    EXPECT_FALSE(screen::boUltAnalise);
    EXPECT_EQ(s().cdsUltAnalise.field("NRAUDITORIA").asString(), "0000000010");
}

TEST_F(HeaderFlow, StageStartFollowsItsFirstAnalysis) {
    const core::DateTime start = core::DateTime::make(2025, 2, 3, 12, 0);
    exec(
        "INSERT INTO ETAPAORDPROD (CDFILIAL, NRORDPROD, NRSUBORDPROD, CDETAPAPROD) VALUES "
        "('0001', '0000000500', '1', 'MIST')");
    exec(
        "INSERT INTO AUDITORIA (CDFILIAL, NRAUDITORIA, NRORDPROD, NRSUBORDPROD, CDETAPAPROD) VALUES "
        "('0001', '0000000011', '0000000500', '1', 'MIST')");
    exec(
        "INSERT INTO INSPECAUDIT (CDFILIAL, NRAUDITORIA, NRINSPECAUDI, CDINSPECAO, DTINIRINSAUD) VALUES "
        "('0001', '0000000011', '001', 'I1', " +
        fmt::format("{}", start.days) + ")");
    loadRequest({{"CDFILIAL", "0001"},
                 {"NRAUDITORIA", "0000000011"},
                 {"NRORDPROD", "0000000500"},
                 {"NRSUBORDPROD", "1"},
                 {"CDETAPAPROD", "MIST"}});
    screen::DtIniEtapa(s());
    EXPECT_EQ(s().cdsDtIniEtapa.field("DATAINI").asDateTime(), start);
    platform::TADOIBQuery q;
    q.SQL = q.SQL_ORACLE = q.SQL_MSSQL = q.SQL_IB =
        "SELECT DTINIETAPA FROM ETAPAORDPROD WHERE NRORDPROD = '0000000500' AND CDETAPAPROD = 'MIST'";
    q.Open();
    EXPECT_DOUBLE_EQ(q.fieldAt(0).asFloat(), start.days);
    EXPECT_EQ(host.waitDepth, 0);
}

TEST_F(HeaderFlow, OldValueAndQueryDialects) {
    loadRequest({{"CDFILIAL", "0001"}, {"NRAUDITORIA", "0000000001"}, {"NRLOTEESTQ", "L100"}});
    a().edit();
    type("NRLOTEESTQ", "L200");
    EXPECT_EQ(screen::OldValue(s(), "NRLOTEESTQ"), "L100");
    EXPECT_EQ(screen::OldValue(s(), "CDPRODUTO"), "");

    EXPECT_NE(s().qrySetor.SQL_ORACLE.find("NVL(:P_CDSETOR, CDSETOR)"), std::string::npos);
    EXPECT_NE(s().qrySetor.SQL_MSSQL.find("ISNULL(:P_CDSETOR, CDSETOR)"), std::string::npos);
    EXPECT_NE(s().qrySetor.SQL_IB.find("NVLSTR"), std::string::npos);
    EXPECT_NE(s().qryFornecedor.SQL_ORACLE.find("NVL( :P_CDFORNECED, CDFORNECED)"), std::string::npos);
    EXPECT_NE(s().qryFornecedor.SQL_IB.find("PARAM(:P_CDFORNECED)"), std::string::npos);
    s().qrySetor.ParamByName("P_CDSETOR") = "0007";
    s().qrySetor.Open();
    EXPECT_EQ(s().qrySetor.recordCount(), 1);
}

}  // namespace
}  // namespace headertest

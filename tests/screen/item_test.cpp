// Items of an inspection through the screen's grid and handlers, against the real
// server over the demo factory: measured values judged by the catalogue's ranges,
// immeasurable results and the analysis' profile, responses from the product's own
// or the general catalogue, items added by the user, and what a saved item does to
// its inspection, request and lot.
#include "item_fixture.h"

namespace {

using State = core::DataSetState;
using platform::runHandler;

using savetest::kAspect;
using savetest::kMoisture;
using savetest::kPurity;

class Items : public savetest::ItemFlow {
protected:
    // The general catalogue of the moisture analysis replaced by overlapping ranges of
    // every numeric kind and an undetectable row of 2 points, with no uncountable row.
    void moistureRanges() {
        exec(std::string("DELETE FROM RESPOSINSPEC WHERE CDINSPECAO = '") + kMoisture + "'");
        const char* rows[] = {
            "901, '00001', 'Normal', 0, '=', 1, 2",        "902, '00002', 'Tolerado', 1, '=', 1.5, 3",
            "903, '00003', 'Alto', 2, '>', 10, 10",        "904, '00004', 'Limite', 1, 'M', 10, 10",
            "905, '00005', 'Ausente', 2, 'D', NULL, NULL",
        };
        for (const char* r : rows)
            exec(std::string("INSERT INTO RESPOSINSPEC (NRSEQRESPINSP, CDRESPINSPEC, NMRESPINSPEC, VRPONTRESINS, "
                             "IDFAIXRESINS, VRINIFAIXRES, VRFINFAIXRES, CDINSPECAO) VALUES (") +
                 r + ", '" + kMoisture + "')");
    }
};

TEST_F(Items, MeasuredValuesAreJudgedByTheFirstRangeThatHoldsThem) {
    moistureRanges();
    newInspectionItems();
    // The server wrote the purity's range words with the number straight after them.
    EXPECT_EQ(item("DSLIMIINSP", kPurity), "Maior ou Igual à99");
    ASSERT_TRUE(toItem("0101003"));
    ASSERT_TRUE(column("VRRESPINSAUD"));
    EXPECT_TRUE(ig().editing);
    ASSERT_TRUE(column("CDRESPINSPEC"));
    EXPECT_FALSE(ig().editing);  // a measured item takes no response code

    struct Case {
        const char* typed;
        const char* response;
        const char* verdict;
    };
    for (const Case& c : {Case{"1,000004", "00001", "S"}, Case{"1,5", "00001", "S"}, Case{"2,00001", "00002", "S"},
                          Case{"10", "00004", "S"}, Case{"10,0001", "00003", "N"}}) {
        ASSERT_TRUE(type("VRRESPINSAUD", c.typed)) << c.typed << ": " << lastError();
        EXPECT_EQ(value("CDRESPINSPEC"), c.response) << c.typed;
        EXPECT_EQ(value("IDOPCACEITIN"), c.verdict) << c.typed;
        ASSERT_TRUE(confirm()) << c.typed << ": " << lastError();
        EXPECT_EQ(item("CDRESPINSPEC", kMoisture), c.response) << c.typed;
        EXPECT_EQ(item("IDOPCACEITIN", kMoisture), c.verdict) << c.typed;
    }
    EXPECT_EQ(value("NMRESPINSPEC"), "Alto");
    EXPECT_EQ(value("DSLIMIINSP"), "Entre 1 e 2");  // the first range of 0 points, on leaving the value
    // The first answer started the inspection and the request.
    EXPECT_EQ(stored(2, "IDSTATUSAUDI"), "2");
    EXPECT_NE(inspectionValue(2, "001", "DTINIRINSAUD"), "");

    // No range holds it: pending with no response, the value kept, the focus on it.
    EXPECT_FALSE(type("VRRESPINSAUD", "0,5"));
    EXPECT_EQ(lastError(), "Não há resposta cadastrada para a análise de acordo com o valor informado.");
    EXPECT_EQ(value("IDOPCACEITIN"), "P");
    EXPECT_EQ(value("CDRESPINSPEC"), "");
    EXPECT_EQ(items().field("VRRESPINSAUD").asFloat(), 0.5);
    EXPECT_EQ(ig().selectedField(), "VRRESPINSAUD");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(items().state(), State::Edit);
    // Text that is no number never reaches the value.
    EXPECT_FALSE(runHandler([&] { items().field("VRRESPINSAUD").setText("1,2,3"); }));
    EXPECT_EQ(lastError(), "'1,2,3' não é um número válido para Resultado.");
    EXPECT_EQ(items().field("VRRESPINSAUD").asFloat(), 0.5);
}

TEST_F(Items, ImmeasurableResultsAreOfferedAndJudgedByTheAnalysisProfile) {
    moistureRanges();
    newInspectionItems();
    ASSERT_TRUE(toItem("0101002"));
    ASSERT_TRUE(column("RESULTADO"));
    EXPECT_FALSE(ig().editing);  // purity has no immeasurable range
    ASSERT_TRUE(toItem("0101003"));
    ASSERT_TRUE(column("RESULTADO"));
    EXPECT_TRUE(ig().editing);

    items().edit();
    items().field("VRRESPINSAUD").setValue(0.0);
    // No uncountable row: refused on leaving the cell, and again at save.
    const char* refused =
        "O tipo de resposta incontável não é permitido para essa análise pois não faz parte do perfil de "
        "Produto x Análise para essa Resposta.";
    EXPECT_FALSE(type("RESULTADO", "Incontável"));
    EXPECT_EQ(lastError(), refused);
    EXPECT_EQ(value("IDRESULTIMENS"), "T");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), refused);
    EXPECT_EQ(items().state(), State::Edit);
    // Undetectable is accepted whatever its row's points; a value of 0 gives way to it.
    ASSERT_TRUE(type("RESULTADO", "Indetectável"));
    EXPECT_EQ(items().field("RESULTADO").displayText(), "Indetectável");
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(item("IDRESULTIMENS", kMoisture), "D");
    EXPECT_EQ(item("VRRESPINSAUD", kMoisture), "");
    EXPECT_EQ(item("CDRESPINSPEC", kMoisture), "00005");
    EXPECT_EQ(item("NMRESPINSPEC", kMoisture), "Indetectável");
    EXPECT_EQ(item("IDOPCACEITIN", kMoisture), "S");
    // A measured value replaces it.
    ASSERT_TRUE(type("VRRESPINSAUD", "3"));
    EXPECT_EQ(value("IDRESULTIMENS"), "");
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(item("IDRESULTIMENS", kMoisture), "");
    EXPECT_EQ(item("CDRESPINSPEC", kMoisture), "00002");
}

TEST_F(Items, ResponsesComeFromTheProductsOwnCatalogueWhenItHasOne) {
    exec(std::string("INSERT INTO RESPOSINSPEC (NRSEQRESPINSP, CDINSPECAO, CDRESPINSPEC, NMRESPINSPEC) VALUES "
                     "(950, '") +
         kAspect + "', '00009', 'Não avaliado')");
    newInspectionItems();
    ASSERT_TRUE(toItem("0101004"));
    ASSERT_TRUE(column("VRRESPINSAUD"));
    EXPECT_FALSE(ig().editing);
    for (const auto& [typed, code, verdict] :
         {std::tuple{"2", "00002", "S"}, std::tuple{"3", "00003", "N"}, std::tuple{"9", "00009", "S"}}) {
        ASSERT_TRUE(type("CDRESPINSPEC", typed)) << typed << ": " << lastError();
        EXPECT_EQ(value("CDRESPINSPEC"), code);
        EXPECT_EQ(value("IDOPCACEITIN"), verdict) << typed;
    }
    EXPECT_FALSE(type("CDRESPINSPEC", "77"));
    EXPECT_EQ(lastError(), "Resposta não cadastrada para análise informada.");
    EXPECT_EQ(ig().selectedField(), "CDRESPINSPEC");

    // The list, its points as words.
    host.picks.push_back({1});
    ASSERT_TRUE(runHandler([&] { ig().onEditButtonClick(); })) << lastError();
    ASSERT_EQ(host.lookups.size(), 1u);
    EXPECT_EQ(host.lookups[0].title, "Resposta");
    EXPECT_EQ(s().qryRespGeral.displayTextAt(0, "VRPONTRESINS"), "Correto");
    EXPECT_EQ(s().qryRespGeral.displayTextAt(2, "VRPONTRESINS"), "Errado");
    EXPECT_EQ(s().qryRespGeral.displayTextAt(3, "VRPONTRESINS"), "");
    EXPECT_EQ(value("CDRESPINSPEC"), "00002");
    EXPECT_EQ(value("IDOPCACEITIN"), "S");
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(item("NMRESPINSPEC", kAspect), "Levemente amarelado");

    // Rows of the request's product for its process: only those answer it.
    exec(std::string("INSERT INTO RESPOSINSPEC (NRSEQRESPINSP, CDINSPECAO, CDRESPINSPEC, NMRESPINSPEC, "
                     "VRPONTRESINS, CDPRODUTO, IDRESPPROC) VALUES (951, '") +
         kAspect + "', '00021', 'Cristais brancos', 0, '0000000002', 'M')");
    EXPECT_FALSE(type("CDRESPINSPEC", "2"));
    EXPECT_EQ(lastError(), "Resposta não cadastrada para análise, produto e processo informados.");
    ASSERT_TRUE(type("CDRESPINSPEC", "21")) << lastError();
    EXPECT_EQ(value("NMRESPINSPEC"), "Cristais brancos");
    items().cancel();
    // A previous product answers for the request instead: it has no rows, so the general ones do.
    exec("UPDATE AUDITORIA SET CDPRODANTE = '0000000004' WHERE NRAUDITORIA = '" + nr(2) + "'");
    reload();
    openItems(2);
    ASSERT_TRUE(toItem("0101004"));
    EXPECT_FALSE(type("CDRESPINSPEC", "21"));
    ASSERT_TRUE(type("CDRESPINSPEC", "2")) << lastError();
    items().cancel();

    // Under version control, outside its period, nothing may be answered.
    exec(
        "INSERT INTO VERSAOPRODANA (CDPRODUTO, IDTPAUDITADO, CDVERSAO, DTVIGINICIO, DTVIFGFINAL) VALUES "
        "('0000000002', 'M', 'V0', 1, 2)");
    ASSERT_TRUE(runHandler([&] { s().comps.selectTab("pgcPadrao", "tshFolhaDados"); }));
    openItems(2);
    ASSERT_TRUE(toItem("0101004"));
    ASSERT_TRUE(column("CDRESPINSPEC"));
    EXPECT_FALSE(runHandler([&] { ig().onEditButtonClick(); }));
    EXPECT_EQ(lastError(),
              "Produto possui controle de vesão no perfil de Produto x Análise mas a data atual está fora de "
              "vigência, desta forma não é permitido lançamento de análise.");
}

TEST_F(Items, AnAddedItemIsAnAnalysisOfTheInspectionsBranchNotYetInIt) {
    newInspectionItems();
    platform::Key insert = platform::Key::named(platform::vk::Insert);
    ASSERT_TRUE(runHandler([&] { platform::raiseKey(ig(), insert); }));
    ASSERT_EQ(items().state(), State::Insert);
    EXPECT_EQ(ig().selectedField(), "CDARVINSPEC");
    EXPECT_TRUE(ig().editing);
    EXPECT_TRUE(ig().column("CDARVINSPEC")->button);
    EXPECT_FALSE(s().comps["dbgInspecAudit"].enabled);
    EXPECT_EQ(value("CDOPERADOR"), platform::Operador());

    for (const auto& [code, message] :
         {std::pair{"0102001", "Análise deve ser do mesmo nível anterior que a análise informada."},
          std::pair{"0101002", "Análise já cadastrada."}, std::pair{"0101005", "Análise não cadastrada ou inativa."}}) {
        items().field("CDARVINSPEC").setValue(code);
        EXPECT_FALSE(column("VRRESPINSAUD")) << code;
        EXPECT_EQ(lastError(), message) << code;
        EXPECT_EQ(ig().selectedField(), "CDARVINSPEC");
    }
    // The branch's active analyses, picked through the ellipsis.
    host.picks.push_back({0});
    ASSERT_TRUE(runHandler([&] { ig().onEditButtonClick(); }));
    ASSERT_EQ(host.lookups.size(), 1u);
    EXPECT_EQ(host.lookups[0].title, "Análise");
    EXPECT_EQ(s().qryInspUltNv.recordCount(), 4);  // 0101001-4: the discontinued one is not offered
    EXPECT_EQ(value("CDARVINSPEC"), "0101001");
    ASSERT_TRUE(column("VRRESPINSAUD")) << lastError();
    EXPECT_EQ(value("IDTPRESPINSP"), "VALR");
    ASSERT_TRUE(type("VRRESPINSAUD", "3")) << lastError();
    answerDialog(true);
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(opened.size(), 1u);  // the operator's justification of a new item
    EXPECT_EQ(item("DSLIMIINSP", "0000000003"), "Entre 2,5 e 3,5");
    EXPECT_EQ(item("IDOPCACEITIN", "0000000003"), "S");
    EXPECT_EQ(items().recordCount(), 4);
}

TEST_F(Items, ASavedItemReopensItsInspectionAndPutsTheLotBackUnderAnalysis) {
    openItems(3);
    EXPECT_EQ(inspectionValue(3, "001", "IDINSPCONC"), "S");
    exec("UPDATE LOTE SET IDSITLOTE = 'L' WHERE NRLOTEESTQ = 'SC240228'");
    ASSERT_TRUE(toItem("0102001"));
    // The concentrate's own Brix ranges judge it.
    ASSERT_TRUE(type("VRRESPINSAUD", "65")) << lastError();
    EXPECT_EQ(value("CDRESPINSPEC"), "00031");
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(inspectionValue(3, "001", "IDINSPCONC"), "P");
    EXPECT_EQ(inspectionValue(3, "001", "DTFINRINSAUD"), "");
    EXPECT_EQ(value("CDARVINSPEC"), "0102001");  // still on the item just saved
    EXPECT_EQ(count("SELECT COUNT(*) FROM LOTE WHERE NRLOTEESTQ = 'SC240228' AND IDSITLOTE = 'A'"), 1);

    // A refused save drops the change: the grid shows what the server holds.
    serverMethod("SetItemInsAudit",
                 [](appserver::Call&) -> core::Variant { throw core::Error("Falha de gravação simulada."); });
    ASSERT_TRUE(type("VRRESPINSAUD", "64,5"));
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Falha de gravação simulada.");
    EXPECT_EQ(items().changeCount(), 0);
    EXPECT_EQ(items().field("VRRESPINSAUD").asFloat(), 65);

    // The partial flag toggles on a request without a sub-lot.
    ASSERT_TRUE(runHandler([&] { ig().onCellClick("IDPARCIAL"); }));
    EXPECT_EQ(value("IDPARCIAL"), "S");
    items().cancel();
    // Alt+PageDown goes back to the inspections.
    platform::Key down = platform::Key::named(platform::vk::Next, true);
    ASSERT_TRUE(runHandler([&] { platform::raiseKey(ig(), down); }));
    EXPECT_EQ(s().comps.activeControl(), "dbgInspecAudit");

    exec("UPDATE AUDITORIA SET NRSUBLOTE = '0001' WHERE NRAUDITORIA = '" + nr(3) + "'");
    reload();
    openItems(3);
    EXPECT_FALSE(runHandler([&] { ig().onCellClick("IDPARCIAL"); }));
    EXPECT_EQ(lastError(), "Não é permitida a aprovação parcial de itens para análise de sub lote.");
}

}  // namespace

// Inspections of a request through the screen's grid and handlers, against the real
// server over the demo factory: a new inspection and the items the server gives it,
// the refusals of a save and where they leave the user, the test subject's rest, the
// conclusion of the request and what a deleted last inspection does to it.
#include "inspection_fixture.h"

namespace {

using State = core::DataSetState;
using Inspections = savetest::InspectionFlow;

TEST_F(Inspections, ANewInspectionGetsTheServersNumberAndTheItemsOfTheProductsProfile) {
    openInspections(2);
    ASSERT_TRUE(i().isEmpty());
    g().editing = false;  // as a browsed row left it, on the code column
    ASSERT_TRUE(click("sbtIncluir"));
    EXPECT_EQ(i().state(), State::Insert);
    EXPECT_EQ(s().comps.activeTab("pgcPadrao"), "tshItemAna");  // typed in the grid, not in a form
    EXPECT_EQ(i().field("NRINSPECAUDI").asString(), "001");
    EXPECT_EQ(i().field("IDINSPCONC").asString(), "P");
    EXPECT_EQ(i().field("IDNOVAAMOSTR").asString(), "N");
    EXPECT_EQ(g().selectedField(), "CDARVINSPEC");
    EXPECT_TRUE(g().editing);
    EXPECT_TRUE(g().column("CDARVINSPEC")->button);

    // Codes of another level are refused before the database is asked.
    for (const char* code : {"01", "0101002"}) {
        i().field("CDARVINSPEC").setValue(code);
        EXPECT_FALSE(toColumn("IDTIPOINSAUD")) << code;
        EXPECT_EQ(lastError(), "Análise deve ser informada até o penúltimo nível.");
        EXPECT_FALSE(s().qryVdInspecao.active());
        EXPECT_EQ(g().selectedField(), "CDARVINSPEC");
    }
    i().field("CDARVINSPEC").setValue("0199");
    EXPECT_FALSE(toColumn("IDTIPOINSAUD"));
    EXPECT_EQ(lastError(), "Análise não cadastrada ou inativa.");

    // The analyses of the penultimate level, picked through the ellipsis.
    host.picks.push_back({0});
    ASSERT_TRUE(platform::runHandler([&] { g().onEditButtonClick(); }));
    ASSERT_EQ(host.lookups.size(), 1u);
    EXPECT_EQ(host.lookups[0].title, "Análise");
    EXPECT_EQ(host.lookups[0].emptyText, "Não há análise cadastrada.");
    EXPECT_EQ(i().field("CDARVINSPEC").asString(), "0101");
    EXPECT_EQ(i().field("NMINSPECAO").asString(), "Físico-Química de Matéria-Prima");
    EXPECT_EQ(i().field("DSANALISE").asString(), "Físico-Química de Matéria-Prima");

    // The operator belongs to the "IEIA" group: his justification is asked, and
    // giving up keeps the row being typed.
    answerDialog(false);
    EXPECT_FALSE(confirm());
    EXPECT_EQ(i().state(), State::Insert);
    answerDialog(true);
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(i().state(), State::Browse);
    EXPECT_EQ(inspectionValue(2, "001", "CDINSPECAO"), i().field("CDINSPECAO").asString());
    // Items of the product's profile under that analysis, and no others.
    EXPECT_EQ(itemCodes(), (std::vector<std::string>{"0101002", "0101003", "0101004"}));
    // None of its items answered yet, the request is still pending.
    EXPECT_EQ(stored(2, "IDSTATUSAUDI"), "1");
    EXPECT_EQ(f("IDSTATUSAUDI").asString(), "1");

    // The grid shows the analysis by name and the situation as its image.
    platform::CellDraw name(i(), 0, *g().column("CDARVINSPEC"), false, false, "0101");
    g().column("CDARVINSPEC")->onDraw(name);
    EXPECT_EQ(name.text, "Físico-Química de Matéria-Prima");
    platform::CellDraw sit(i(), 0, *g().column("IDINSPCONC"), false, false, "P");
    g().column("IDINSPCONC")->onDraw(sit);
    EXPECT_EQ(sit.image, "imgPendente");
    EXPECT_TRUE(sit.text.empty());
}

TEST_F(Inspections, DatesAreCheckedAgainstTheRequestAndEachOtherAndTheRowStaysInEdit) {
    addInspection();
    ASSERT_TRUE(click("sbtAlterar"));
    auto& start = i().field("DTINIRINSAUD");
    auto& end = i().field("DTFINRINSAUD");
    start.setValue(core::DateTime(requestTime().days - 1.0 / 1440));
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Data\\horário início deve ser maior ou igual a data\\horário do pedido.");
    EXPECT_EQ(g().selectedField(), "DTINIRINSAUD");
    EXPECT_EQ(s().comps.activeControl(), "dbgInspecAudit");
    EXPECT_EQ(i().state(), State::Edit);

    start.clear();
    end.setValue(core::DateTime(requestTime().days + 1));
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Data de início deve ser informada.");
    start.setValue(core::DateTime(requestTime().days + 2));
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Data\\horário de início deve ser menor ou igual a data\\horário de conclusão.");
    // Concluding with items not yet answered.
    start.setValue(requestTime());
    end.setValue(requestTime());
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Análise não pode ser concluída. Existe(m) item(s) de análise não realizado(s).");
    EXPECT_EQ(g().selectedField(), "DTFINRINSAUD");
    EXPECT_EQ(i().state(), State::Edit);
    EXPECT_EQ(inspectionValue(2, "001", "DTINIRINSAUD"), "");

    // Typed dates go through the host's check; a start equal to the request's moment is taken.
    EXPECT_THROW(start.setText("31/02/2026 10:00"), core::Error);
    end.setText("  /  /       :  ");
    EXPECT_TRUE(end.isNull());
    start.setValue(requestTime());
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(i().field("IDINSPCONC").asString(), "P");
    EXPECT_EQ(i().field("CDOPECONCINS").asString(), "");

    // Every item answered: a conclusion equal to the start concludes the inspection
    // and, being the request's only one, the request.
    exec("UPDATE ITEMINSAUDIT SET IDOPCACEITIN = 'S' WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + nr(2) + "'");
    ASSERT_TRUE(click("sbtAlterar"));
    end.setValue(requestTime());
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(inspectionValue(2, "001", "IDINSPCONC"), "S");
    EXPECT_EQ(inspectionValue(2, "001", "CDOPECONCINS"), "DEMO");
    EXPECT_EQ(i().field("TEMPO").asString(), "0:00");
    EXPECT_EQ(stored(2, "IDSTATUSAUDI"), "4");
}

TEST_F(Inspections, TestSubjectsAreNormalisedCheckedAtTheStartAndRestOnceAfterAConclusion) {
    addInspection();
    ASSERT_TRUE(click("sbtAlterar"));
    ASSERT_TRUE(toColumn("CDCOBAIA"));
    i().field("CDCOBAIA").setValue("4");
    EXPECT_FALSE(toColumn("DSINSPECAUDI"));
    EXPECT_EQ(lastError(), "Cobaia não cadastrada ou indisponível para a dt. início.");
    EXPECT_EQ(g().selectedField(), "CDCOBAIA");
    i().field("DTINIRINSAUD").setValue(requestTime());
    ASSERT_TRUE(toColumn("CDCOBAIA"));
    ASSERT_TRUE(toColumn("DSINSPECAUDI")) << lastError();
    EXPECT_EQ(i().field("CDCOBAIA").asString(), "0000000004");
    EXPECT_EQ(i().field("NMCOBAIA").asString(), "Camundongo Swiss - Lote M-12");
    // A resting subject is not available at that start; its list leaves it out.
    ASSERT_TRUE(toColumn("CDCOBAIA"));
    i().field("CDCOBAIA").setValue("3");
    EXPECT_FALSE(toColumn("CDORDEMAUDIT"));
    EXPECT_EQ(lastError(), "Cobaia não cadastrada ou indisponível para a dt. início.");
    host.picks.push_back({0});
    ASSERT_TRUE(platform::runHandler([&] { g().onEditButtonClick(); }));
    ASSERT_FALSE(host.lookups.empty());
    for (int r = 0; r < s().cdsPesqCobaia.recordCount(); ++r)
        EXPECT_NE(s().cdsPesqCobaia.valueAt(r, "CDCOBAIA").asString(), "0000000003");
    i().field("CDCOBAIA").setValue("0000000004");

    // Concluded with a free subject: it rests from today until the start plus the
    // branch's minimum interval (30 days), once.
    exec("UPDATE ITEMINSAUDIT SET IDOPCACEITIN = 'S' WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + nr(2) + "'");
    i().field("DTFINRINSAUD").setValue(requestTime());
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(count("SELECT COUNT(*) FROM HISTCOBAIA WHERE CDCOBAIA = '0000000004'"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM HISTCOBAIA WHERE CDCOBAIA = '0000000004' AND DTFIMHISTCOB > " +
                    fmt::format("{}", requestTime().days + 29.99) + " AND DTFIMHISTCOB < " +
                    fmt::format("{}", requestTime().days + 30.01)),
              1);
}

TEST_F(Inspections, ASubjectAlreadyRestingTodayGetsNoSecondRestPeriod) {
    addInspection();
    // Subject 5 was free at the start, and rests from today on.
    const double today = std::floor(platform::DtServ().days);
    exec("INSERT INTO HISTCOBAIA (CDCOBAIA, NRSEQHISTCOB, DTINIHISTCOB, DTFIMHISTCOB) VALUES ('0000000005', 1, " +
         fmt::format("{}", today) + ", " + fmt::format("{}", today + 10) + ")");
    ASSERT_LT(requestTime().days, today);
    exec("UPDATE ITEMINSAUDIT SET IDOPCACEITIN = 'S' WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + nr(2) + "'");
    ASSERT_TRUE(click("sbtAlterar"));
    i().field("DTINIRINSAUD").setValue(requestTime());
    i().field("CDCOBAIA").setValue("5");
    i().field("DTFINRINSAUD").setValue(requestTime());
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(inspectionValue(2, "001", "CDCOBAIA"), "0000000005");
    EXPECT_EQ(count("SELECT COUNT(*) FROM HISTCOBAIA WHERE CDCOBAIA = '0000000005'"), 1);
}

TEST_F(Inspections, TheTypeIsAOrRAndTheReminderShowsOncePerChangeToR) {
    addInspection();
    ASSERT_EQ(i().field("IDTIPOINSAUD").displayText(), "Análise");
    ASSERT_TRUE(toColumn("IDTIPOINSAUD"));
    EXPECT_FALSE(key(platform::Key::typed("r")));  // taken by the rule, not typed into the cell
    EXPECT_EQ(i().state(), State::Edit);
    EXPECT_EQ(i().field("IDTIPOINSAUD").asString(), "R");
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(host.texts(), std::vector<std::string>{"Dt. previsão deve ser atualizada."});
    EXPECT_EQ(inspectionValue(2, "001", "IDTIPOINSAUD"), "R");
    // Saved again as "R": nothing to remind.
    host.clear();
    ASSERT_TRUE(click("sbtAlterar"));
    i().field("DSINSPECAUDI").setValue("Repetir com amostra nova");
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_TRUE(host.texts().empty());
    // Only the two texts change the type; a double click toggles it.
    ASSERT_TRUE(click("sbtAlterar"));
    i().field("IDTIPOINSAUD").setText("Qualquer");
    EXPECT_EQ(i().field("IDTIPOINSAUD").asString(), "R");
    i().field("IDTIPOINSAUD").setText("Análise");
    EXPECT_EQ(i().field("IDTIPOINSAUD").asString(), "A");
    g().onDblClick();
    EXPECT_EQ(i().field("IDTIPOINSAUD").asString(), "R");
    i().cancel();

    // Once the start is saved, its dates change only through the picker; a digit in a
    // conclusion never set opens it.
    ASSERT_TRUE(click("sbtAlterar"));
    i().field("DTINIRINSAUD").setValue(requestTime());
    ASSERT_TRUE(confirm()) << lastError();
    ASSERT_TRUE(toColumn("DTINIRINSAUD"));
    EXPECT_FALSE(key(platform::Key::typed("5")));
    EXPECT_FALSE(key(platform::Key::named(platform::vk::Delete)));
    EXPECT_TRUE(key(platform::Key::named(platform::vk::Return)));
    ASSERT_TRUE(toColumn("DTFINRINSAUD"));
    host.dateTimes.push_back(core::DateTime(requestTime().days + 0.5));
    EXPECT_FALSE(key(platform::Key::named(platform::vk::D0 + 7)));
    EXPECT_EQ(host.pickerStarts.size(), 1u);
    EXPECT_EQ(i().state(), State::Edit);
    EXPECT_DOUBLE_EQ(i().field("DTFINRINSAUD").asDateTime().days, requestTime().days + 0.5);
    EXPECT_EQ(i().field("CDOPECONCINS").asString(), "");  // set when the column is left or the row saved
    i().cancel();
    // Alt+PageUp goes to the items.
    EXPECT_FALSE(key(platform::Key::named(platform::vk::Prior, true)));
    EXPECT_EQ(s().comps.activeControl(), "dbgItem");
}

TEST_F(Inspections, CancelledRequestsTakeNoInspectionAndARefusedSaveShowsTheServersState) {
    openInspections(8);
    ASSERT_EQ(f("IDSTATUSAUDI").asString(), "3");
    const int before = i().recordCount();
    EXPECT_FALSE(platform::runHandler([&] { i().append(); }));
    EXPECT_EQ(i().state(), State::Browse);
    EXPECT_EQ(i().recordCount(), before);
    EXPECT_TRUE(host.messages.empty());
    if (!i().isEmpty()) {
        EXPECT_FALSE(key(platform::Key::named(platform::vk::Delete, false, true)));
        EXPECT_EQ(i().recordCount(), before);
        EXPECT_TRUE(host.messages.empty());
    }

    // Request 2 is cancelled by someone else while its inspection is being changed.
    addInspection();
    ASSERT_TRUE(click("sbtAlterar"));
    i().field("DSINSPECAUDI").setValue("Alterada");
    exec("UPDATE AUDITORIA SET IDSTATUSAUDI = '3' WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + nr(2) + "'");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Situação está cancelada, não pode ser alterada.");
    EXPECT_EQ(i().state(), State::Browse);
    EXPECT_EQ(i().field("DSINSPECAUDI").asString(), "");
    EXPECT_EQ(i().changeCount(), 0);
    EXPECT_EQ(inspectionValue(2, "001", "DSINSPECAUDI"), "");
}

TEST_F(Inspections, DeletingTheLastInspectionOfAConcludedRequestReopensIt) {
    openInspections(4);
    ASSERT_EQ(f("IDSTATUSAUDI").asString(), "4");
    ASSERT_EQ(i().recordCount(), 1);
    ASSERT_NE(stored(4, "DTFINREALAUD"), "");
    host.answers.push_back(platform::MsgResult::Yes);
    answerDialog(true);
    EXPECT_FALSE(key(platform::Key::named(platform::vk::Delete, false, true)));
    EXPECT_EQ(lastError(), "");
    EXPECT_TRUE(i().isEmpty());
    EXPECT_EQ(inspectionValue(4, "001", "CDINSPECAO"), "<none>");
    EXPECT_EQ(stored(4, "IDSTATUSAUDI"), "2");
    EXPECT_EQ(stored(4, "DTFINREALAUD"), "");
    EXPECT_EQ(stored(4, "QTHRAUDIT"), "");
    EXPECT_EQ(f("IDSTATUSAUDI").asString(), "2");
}

}  // namespace

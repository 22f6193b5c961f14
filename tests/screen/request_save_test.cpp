// Saving and deleting a request through the screen's handlers, against the real
// server over the demo factory: the situation rules, the authorizations they ask,
// the dates, the numbering, what the save sends and the guards of a delete.
#include <memory>

#include "appserver/refusal.h"
#include "appserver/sql.h"
#include "request_save_fixture.h"

namespace {

using savetest::SaveFlow;

using RequestSave = SaveFlow;

TEST_F(RequestSave, SituationRulesRefuseAndKeepTheEdit) {
    // Back to "Pendente" is refused, on the situation list, with nothing sent.
    ASSERT_TRUE(go(3));
    ASSERT_EQ(f("IDSTATUSAUDI").asString(), "2");
    pickSituation("1");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Situação não pode voltar para Pendente.");
    EXPECT_EQ(s().comps.activeControl(), "dbcSit");
    EXPECT_EQ(a().state(), core::DataSetState::Edit);
    EXPECT_EQ(a().changeCount(), 0);
    EXPECT_EQ(stored(3, "IDSTATUSAUDI"), "2");
    // Cancelling puts back the hours the request holds, whatever was typed.
    s().comps["medHora"].text = "23:59";
    s().comps["medHoraPrev"].text = "23:59";
    a().cancel();
    EXPECT_EQ(s().comps["medHora"].text, core::formatDateTime("hh:nn", f("HORA").asDateTime()));
    EXPECT_EQ(s().comps["medHoraPrev"].text,
              f("HORAPREVFIM").isNull() ? "" : core::formatDateTime("hh:nn", f("HORAPREVFIM").asDateTime()));
    EXPECT_EQ(f("IDSTATUSAUDI").asString(), "2");

    // Concluding while an inspection is open.
    ASSERT_GT(count("SELECT COUNT(*) FROM INSPECAUDIT WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + nr(3) +
                    "' AND COALESCE(IDINSPCONC, 'P') NOT IN ('S', 'N')"),
              0);
    host.clear();
    answerDialog(true);  // the change to a concluded situation is authorized first
    pickSituation("4");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(opened, std::vector<std::string>{"Controle de Qualidade"});
    EXPECT_EQ(lastError(), "Situação não pode ser concluída. Existe(m) uma ou mais análises não realizadas.");
    EXPECT_EQ(a().state(), core::DataSetState::Edit);
    EXPECT_EQ(stored(3, "IDSTATUSAUDI"), "2");
    a().cancel();

    // A cancelled request cannot be left: the change asks for the authorization, then is refused.
    opened.clear();
    host.clear();
    ASSERT_TRUE(go(8));
    ASSERT_EQ(f("IDSTATUSAUDI").asString(), "3");
    answerDialog(true);
    pickSituation("2");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(opened, std::vector<std::string>{"Controle de Qualidade"});
    EXPECT_EQ(lastError(), "Situação está cancelada, não pode ser alterada.");
    EXPECT_EQ(stored(8, "IDSTATUSAUDI"), "3");
    a().cancel();
}

TEST_F(RequestSave, ConcludedOkOrNotOkFollowsTheInspectionsVerdicts) {
    // Every inspection concluded OK: "Concluído Não OK" is refused.
    finishInspections(4);
    // One inspection concluded not OK: "Concluído OK" is refused.
    finishInspections(5, "N");
    reload();

    ASSERT_TRUE(go(4));
    answerDialog(true);
    pickSituation("5");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Situação não pode ser Concluído Não Ok.");
    EXPECT_EQ(stored(4, "IDSTATUSAUDI"), "2");
    a().cancel();

    host.clear();
    ASSERT_TRUE(go(5));
    answerDialog(true);
    pickSituation("4");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Situação não pode ser Concluído Ok.");
    EXPECT_EQ(stored(5, "IDSTATUSAUDI"), "2");
    a().cancel();
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(RequestSave, ConcludingNeedsTheOperatorsPermission) {
    finishInspections(4);
    reload();
    platform::session().operador = "ANALISTA";  // holds no permission
    ASSERT_TRUE(go(4));
    // A routine of the screen concludes it: no field checks, but the permission still counts.
    screen::boControle = false;
    a().edit();
    f("IDSTATUSAUDI").setValue("4");
    EXPECT_FALSE(platform::runHandler([&] { a().post(); }));
    screen::boControle = true;
    EXPECT_EQ(lastError(), "Operador não possui permissão para concluir análise.");
    EXPECT_EQ(a().state(), core::DataSetState::Edit);
    EXPECT_EQ(stored(4, "IDSTATUSAUDI"), "2");
    a().cancel();
}

TEST_F(RequestSave, ReopeningAsksTheAuthorizationOncePerCurrentRequest) {
    ASSERT_TRUE(go(4));
    ASSERT_EQ(f("IDSTATUSAUDI").asString(), "4");

    // Refused: the edit ends as the cancel button ends it, after its question.
    answerDialog(false);
    pickSituation("2");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(host.messages.back().text, "Confirma cancelamento?");
    EXPECT_EQ(a().state(), core::DataSetState::Browse);
    EXPECT_EQ(f("IDSTATUSAUDI").asString(), "4");
    EXPECT_FALSE(screen::boPermi);

    // Granted once; the transfer question answered No abandons the change silently.
    host.clear();
    answerDialog(true);
    host.answers.push_back(platform::MsgResult::No);
    pickSituation("2");
    EXPECT_TRUE(screen::boAlteraStatus);
    EXPECT_FALSE(s().comps["btnFechaParc"].enabled);
    EXPECT_FALSE(confirm());
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_TRUE(screen::boPermi);
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(a().state(), core::DataSetState::Browse);

    // The same request again: no second authorization.
    host.answers.push_back(platform::MsgResult::No);
    pickSituation("2");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(stored(4, "IDSTATUSAUDI"), "4");
}

TEST_F(RequestSave, AnotherCurrentRequestAsksForTheAuthorizationAgain) {
    ASSERT_TRUE(go(4));
    answerDialog(true);
    host.answers.push_back(platform::MsgResult::No);
    pickSituation("2");
    EXPECT_FALSE(confirm());
    ASSERT_TRUE(screen::boPermi);

    // Another request becomes current, then this one again: asked again.
    ASSERT_TRUE(go(3));
    EXPECT_FALSE(screen::boPermi);
    ASSERT_TRUE(go(4));
    answerDialog(false);
    pickSituation("2");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(a().state(), core::DataSetState::Browse);
    EXPECT_EQ(stored(4, "IDSTATUSAUDI"), "4");
}

TEST_F(RequestSave, PlannedDateMustComeAfterTheRequestDate) {
    fillNewRequest();
    const std::string hour = s().comps["medHora"].text;
    ASSERT_FALSE(hour.empty());
    f("DATAPREVFIM").setValue(f("DATA").asDateTime().datePart());
    s().comps["medHoraPrev"].text = hour;
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Dt. pedido deve ser menor que dt. previsão.");
    EXPECT_EQ(s().comps.activeControl(), "dbdData");
    EXPECT_EQ(a().state(), core::DataSetState::Insert);
    EXPECT_EQ(f("NRAUDITORIA").asString(), "");  // numbered only once every check passed

    // A planned hour without its date, and a planned date without its hour.
    f("DATAPREVFIM").clear();
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Dt. previsão deve ser informada.");
    EXPECT_EQ(s().comps.activeControl(), "dbdDataPrev");
    f("DATAPREVFIM").setValue(f("DATA").asDateTime().datePart().plusDays(2));
    s().comps["medHoraPrev"].text = "  :  ";
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Hora deve ser informada.");
    EXPECT_EQ(s().comps.activeControl(), "medHoraPrev");

    // Without a description.
    s().comps["medHoraPrev"].text = "08:30";
    f("DSREFEAUDIT").clear();
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Descrição deve ser informada.");
    EXPECT_EQ(a().state(), core::DataSetState::Insert);
}

TEST_F(RequestSave, NewRequestSendsItsNullFieldsAndTakesWhatTheServerWritesBack) {
    auto rec = recordSaves({{16, core::Variant("A")}, {24, core::Variant(12.5)}, {26, core::Variant("002")}});
    // No number from the server: the request stays without one and nothing is said.
    serverMethod("GetPrxAuditoria", [](appserver::Call&) -> core::Variant { return core::Variant(); });
    fillNewRequest();
    s().comps["medHora"].text = "09:15";
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(f("NRAUDITORIA").asString(), "");

    // The request's date keeps its day and takes the hour box's time.
    const core::DateTime inclusion = f("DTINCLAUDIT").asDateTime();
    EXPECT_EQ(inclusion.datePart(), f("DATA").asDateTime().datePart());
    EXPECT_EQ(core::formatDateTime("hh:nn", inclusion), "09:15");

    ASSERT_EQ(rec->calls.size(), 1u);
    const auto& args = rec->calls[0];
    ASSERT_EQ(args.size(), 27u);
    ASSERT_TRUE(args[0].isPacket());
    EXPECT_EQ(args[0].packet->delta.size(), 1u);
    const std::string nulls = args[1].value.asString();
    const auto forn = nulls.find("_NRLOTEFORN_");
    const auto fabr = nulls.find("_DTFABRPROD");
    ASSERT_NE(forn, std::string::npos) << nulls;
    ASSERT_NE(fabr, std::string::npos) << nulls;
    EXPECT_LT(forn, fabr);
    EXPECT_EQ(args[2].value.asString(), "DEMO");
    EXPECT_FALSE(args[6].value.asBool());
    EXPECT_EQ(args[13].value.asString(), "0001");
    EXPECT_EQ(args[16].value.asString(), "A");
    EXPECT_EQ(args[18].value.asString(), "M");
    EXPECT_FALSE(args[20].value.asBool());
    EXPECT_FALSE(args[22].value.asBool());

    // What came back by reference.
    EXPECT_EQ(screen::stIdAna, "A");
    EXPECT_EQ(s().vrAprovada, 12.5);
    EXPECT_EQ(s().stNewSubLote, "002");
    EXPECT_EQ(a().changeCount(), 0);
    EXPECT_FALSE(s().comps["dbeMarcaProd"].enabled);
}

TEST_F(RequestSave, NewRequestIsNumberedByTheServerAndKept) {
    fillNewRequest("Pedido numerado pelo servidor");
    ASSERT_TRUE(confirm()) << lastError();
    const std::string number = f("NRAUDITORIA").asString();
    ASSERT_FALSE(number.empty());
    EXPECT_EQ(a().changeCount(), 0);
    reload();
    ASSERT_TRUE(a().locate("NRAUDITORIA", core::Value(number)));
    EXPECT_EQ(f("DSREFEAUDIT").asString(), "Pedido numerado pelo servidor");
    EXPECT_EQ(f("IDSTATUSAUDI").asString(), "1");

    // Changed and saved again.
    showHours();
    a().edit();
    f("DSREFEAUDIT").setText("Descrição alterada");
    ASSERT_TRUE(confirm()) << lastError();
    reload();
    ASSERT_TRUE(a().locate("NRAUDITORIA", core::Value(number)));
    EXPECT_EQ(f("DSREFEAUDIT").asString(), "Descrição alterada");

    // Deleted: gone from the server too.
    EXPECT_TRUE(click("sbtExcluir"));
    EXPECT_EQ(host.messages.back().text, "Confirma exclusão?");
    EXPECT_TRUE(errors().empty()) << lastError();
    reload();
    EXPECT_FALSE(a().locate("NRAUDITORIA", core::Value(number)));
}

TEST_F(RequestSave, DeleteGuards) {
    const auto rows = a().recordCount();
    // A production order's request and a concluded one are kept without a word.
    for (int n : {16, 4}) {
        host.clear();
        ASSERT_TRUE(go(n));
        click("sbtExcluir");
        EXPECT_TRUE(errors().empty()) << n;
        EXPECT_EQ(a().recordCount(), rows) << n;
        EXPECT_EQ(stored(n, "NRAUDITORIA"), nr(n));
    }
    EXPECT_TRUE(opened.empty());

    // An invoice's request: its deleter holds "EXCA", so only a justification is asked.
    ASSERT_TRUE(go(1));
    ASSERT_FALSE(f("NRLANCTONF").asString().empty());
    answerDialog(false);
    click("sbtExcluir");
    EXPECT_EQ(opened, std::vector<std::string>{"Justificativa"});
    EXPECT_EQ(a().recordCount(), rows);

    // Without "EXCA", another operator's authorization.
    platform::session().operador = "ANALISTA";
    answerDialog(false);
    click("sbtExcluir");
    EXPECT_EQ(opened.back(), "Controle de Qualidade");
    EXPECT_EQ(a().recordCount(), rows);
    EXPECT_EQ(stored(1, "NRAUDITORIA"), nr(1));

    // Justified: deleted on the server. What the last save approved stays: a delete
    // sends no quantities.
    platform::session().operador = "DEMO";
    s().vrAprovada = 7;
    s().stNewSubLote = "002";
    answerDialog(true);
    EXPECT_TRUE(click("sbtExcluir"));
    EXPECT_EQ(opened.back(), "Justificativa");
    EXPECT_TRUE(errors().empty()) << lastError();
    EXPECT_EQ(a().recordCount(), rows - 1);
    EXPECT_EQ(stored(1, "NRAUDITORIA"), "<none>");
    EXPECT_EQ(s().vrAprovada, 7);
    EXPECT_EQ(s().stNewSubLote, "002");
}

}  // namespace

namespace {

using savetest::SaveFlow;

class SaveRefusal : public SaveFlow {
protected:
    // SetAuditoria refuses with `code` after writing, as the server refuses in the
    // middle of a save.
    void refuseSaves(const std::string& code) {
        serverMethod("SetAuditoria", [code](appserver::Call& c) -> core::Variant {
            appserver::execute(c.db(),
                               "UPDATE AUDITORIA SET DSREFEAUDIT = 'escrito' WHERE NRAUDITORIA = '" + nr(3) + "'");
            throw appserver::Refusal(code);
        });
    }
    // Changes request 3's description and confirms; what the user was shown last.
    std::string saveRefused(const std::string& code) {
        refuseSaves(code);
        host.clear();
        EXPECT_TRUE(go(3));
        a().edit();
        f("DSREFEAUDIT").setText("Descrição nova");
        screen::boReverteTransf = true;
        screen::boAltValidade = true;
        EXPECT_FALSE(confirm()) << code;
        // The list shows the request as the server holds it, and the flags are spent.
        EXPECT_EQ(a().state(), core::DataSetState::Browse) << code;
        EXPECT_EQ(a().changeCount(), 0) << code;
        EXPECT_EQ(f("DSREFEAUDIT").asString(), stored(3, "DSREFEAUDIT")) << code;
        EXPECT_NE(stored(3, "DSREFEAUDIT"), "escrito") << code;
        EXPECT_FALSE(screen::boReverteTransf) << code;
        EXPECT_FALSE(screen::boAltValidade) << code;
        EXPECT_TRUE(screen::boControle) << code;
        return host.messages.empty() ? std::string() : host.messages.back().text;
    }
};

TEST_F(SaveRefusal, ServerRefusalsAreShownInTheScreensWords) {
    const std::pair<const char*, const char*> mapped[] = {
        {"P_ALMOXORIG_CAD", "Almoxarifado de Quarentena - Matéria Prima / Insumos não cadastrado para produto."},
        {"P_SIT_NCONC", "Situação não pode ser concluída. Existe(m) uma ou mais análises não realizadas."},
        {"Falha qualquer do servidor", "Falha qualquer do servidor"},
    };
    for (const auto& [code, text] : mapped) {
        EXPECT_EQ(saveRefused(code), text) << code;
        EXPECT_EQ(host.messages.back().type, platform::MsgType::Error) << code;
    }

    // A stock irregularity is the server's own message, for information.
    const std::string irregular =
        "Não existe quantidade em estoque para o produto no almoxarifado 000002. Transferência de estoque não foi "
        "realizada.";
    EXPECT_EQ(saveRefused("P_EST_IRREG: " + irregular), irregular);
    EXPECT_EQ(host.messages.back().type, platform::MsgType::Information);
    EXPECT_EQ(host.messages.size(), 1u);
}

}  // namespace

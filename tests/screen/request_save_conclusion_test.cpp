// The checks around leaving or re-entering "Em Andamento" as the request's save runs
// them: reopening a concluded request (stock transfer back, a used lot), the lots of a
// compatibility analysis, the validity recalculation; and the conclusion itself on
// the server, with the stock it moves or the refusal it meets.
#include <fmt/format.h>

#include "request_save_fixture.h"

namespace {

using savetest::SaveFlow;

class ConclusionSave : public SaveFlow {
protected:
    std::vector<std::string> questions() const {
        std::vector<std::string> out;
        for (const auto& m : host.messages)
            if (m.type == platform::MsgType::Confirmation) out.push_back(m.text);
        return out;
    }
    static long long moves(int n) {
        return count("SELECT COUNT(*) FROM MOVESTOQUE WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + nr(n) + "'");
    }
};

constexpr const char* kBackToQuarantine =
    "Ao alterar a situação da análise para Em Andamento, o sistema transfere o lote do almoxarifado liberado para "
    "o almoxarifado de quarentena. Deseja continuar?";
constexpr const char* kBackFromRejected =
    "Ao alterar a situação da análise para Em Andamento, o sistema transfere o lote do almoxarifado Reprovado para "
    "o almoxarifado de quarentena. Deseja continuar?";

TEST_F(ConclusionSave, ReopeningAsksAboutTheTransferWhereTheLotMoves) {
    auto rec = recordSaves();

    // Raw material concluded OK: the lot goes back from the released store.
    ASSERT_TRUE(go(4));
    answerDialog(true);
    pickSituation("2");
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(questions(), std::vector<std::string>{kBackToQuarantine});
    ASSERT_EQ(rec->calls.size(), 1u);
    EXPECT_TRUE(rec->calls[0][20].value.asBool());  // the transfer is reversed
    EXPECT_FALSE(screen::boReverteTransf);          // and the flag cleared once sent
    EXPECT_TRUE(f("DTFINREALAUD").isNull());
    EXPECT_FALSE(screen::boAlteraStatus);

    // Concluded not OK: from the rejected store.
    host.clear();
    ASSERT_TRUE(go(5));
    answerDialog(true);
    pickSituation("2");
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(questions(), std::vector<std::string>{kBackFromRejected});

    // A product in process without the lot parameters: nothing asked, nothing reversed.
    exec("UPDATE PARAMMXA SET IDLIBLOTEEST = '3' WHERE CDFILIAL = '0001'");
    screen_.reset();
    openScreen();
    ASSERT_TRUE(go(18));
    ASSERT_EQ(f("IDTPAUDITADO").asString(), "P");
    answerDialog(true);
    pickSituation("2");
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_TRUE(questions().empty());
    ASSERT_EQ(rec->calls.size(), 3u);
    EXPECT_FALSE(rec->calls[2][20].value.asBool());
}

TEST_F(ConclusionSave, ReopeningAUsedLotIsRefusedAndDiscarded) {
    auto rec = recordSaves();
    ASSERT_TRUE(go(4));
    const std::string lot = f("NRLOTEESTQ").asString();
    // The lot left the store after the conclusion, not by an analysis.
    exec(fmt::format(
        "INSERT INTO MOVESTOQUE (CDFILIAL, NRLANCTOESTQ, NRSEQMOVEST, IDTPMOVEST, CDALMOXARIFE, "
        "CDLOCALESTOQ, CDPRODUTO, NRLOTEESTQ, NRSUBLOTE, QTMOVEST, DTMOVEST) VALUES ('0001', "
        "'T000000001', 1, 'S', '000001', '000001', '{}', '{}', '{}', 1, {})",
        f("CDPRODUTO").asString(), lot, f("NRSUBLOTE").asString(), f("DTFINREALAUD").asDateTime().days + 1));
    answerDialog(true);
    pickSituation("2");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Análise não pode ser alterada para Andamento pois o lote " + lot +
                               " já foi utilizado. Operação será cancelada.");
    EXPECT_TRUE(questions().empty());
    EXPECT_EQ(a().state(), core::DataSetState::Browse);
    EXPECT_EQ(f("IDSTATUSAUDI").asString(), "4");
    EXPECT_EQ(a().changeCount(), 0);
    EXPECT_FALSE(screen::boReverteTransf);
    EXPECT_TRUE(rec->calls.empty());
}

TEST_F(ConclusionSave, CompatibilityWithoutLotsGoesToTheFormula) {
    auto rec = recordSaves();
    finishInspections(29);
    exec("DELETE FROM FORMULAANA WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + nr(29) + "'");
    reload();
    ASSERT_TRUE(go(29));
    ASSERT_EQ(f("IDCOMPATIBILIDADE").asString(), "S");
    pickSituation("4");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "É necessário informar pelo menos um lote para realizar a análise de compatibilidade.");
    EXPECT_EQ(s().comps.activeTab("pgcPadrao"), "tshFormula");
    EXPECT_EQ(a().state(), core::DataSetState::Browse);
    EXPECT_EQ(f("IDSTATUSAUDI").asString(), "2");
    EXPECT_TRUE(opened.empty());  // refused before any authorization was asked
    EXPECT_TRUE(rec->calls.empty());
}

TEST_F(ConclusionSave, ConcludingAsksWhetherTheValidityIsRecalculated) {
    auto rec = recordSaves();
    finishInspections(4);
    exec("UPDATE AUDITORIA SET DTVALANA = '01/01/2000' WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + nr(4) + "'");
    reload();
    ASSERT_TRUE(go(4));

    // No: the validity stays.
    answerDialog(true);
    host.answers.push_back(platform::MsgResult::No);
    pickSituation("4");
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(questions(), std::vector<std::string>{"Deseja recalcular a data de validade da análise?"});
    ASSERT_EQ(rec->calls.size(), 1u);
    EXPECT_TRUE(rec->calls[0][6].value.asBool());    // the save concludes
    EXPECT_FALSE(rec->calls[0][22].value.asBool());  // and keeps the validity
    EXPECT_EQ(f("DTVALANA").asString(), "01/01/2000");
    EXPECT_FALSE(f("DTFINREALAUD").isNull());

    // Yes: the new validity is sent for and shown, without another save.
    exec("UPDATE AUDITORIA SET IDSTATUSAUDI = '2' WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + nr(4) + "'");
    reload();
    ASSERT_TRUE(go(4));
    answerDialog(true);
    host.answers.push_back(platform::MsgResult::Yes);
    pickSituation("4");
    ASSERT_TRUE(confirm()) << lastError();
    ASSERT_EQ(rec->calls.size(), 2u);
    EXPECT_TRUE(rec->calls[1][22].value.asBool());
    const std::string validity = s().cdsValidade.field("VALIDADE").asString();
    EXPECT_NE(validity, "01/01/2000");
    EXPECT_EQ(f("DTVALANA").asString(),
              core::formatDateTime("ddddd", s().cdsValidade.field("VALIDADEATUAL").asDateTime()));
    EXPECT_EQ(a().changeCount(), 0);
    EXPECT_FALSE(screen::boAltValidade);
}

TEST_F(ConclusionSave, ConcludingMovesTheLotOutOfQuarantineOnTheServer) {
    finishInspections(3);
    reload();
    const long long before = moves(3);
    ASSERT_TRUE(go(3));
    answerDialog(true);
    host.answers.push_back(platform::MsgResult::No);  // the validity stays
    pickSituation("4");
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(stored(3, "IDSTATUSAUDI"), "4");
    EXPECT_NE(stored(3, "DTFINREALAUD"), "");
    EXPECT_GT(moves(3), before);
    EXPECT_EQ(a().changeCount(), 0);

    // Reopened with the transfer accepted: the lot goes back, under the same request.
    const long long concluded = moves(3);
    host.clear();
    answerDialog(true);
    host.answers.push_back(platform::MsgResult::Yes);
    pickSituation("2");
    ASSERT_TRUE(confirm()) << lastError();
    EXPECT_EQ(questions(), std::vector<std::string>{kBackToQuarantine});
    EXPECT_EQ(stored(3, "IDSTATUSAUDI"), "2");
    EXPECT_EQ(stored(3, "DTFINREALAUD"), "");
    EXPECT_GT(moves(3), concluded);
}

TEST_F(ConclusionSave, AProductWithoutQuarantineStoreKeepsTheRequestAsItWas) {
    finishInspections(3);
    reload();
    ASSERT_TRUE(go(3));
    exec("UPDATE PRODFILIAL SET CDALMOXARIFE = NULL WHERE CDFILIAL = '0001' AND CDPRODUTO = '" +
         f("CDPRODUTO").asString() + "'");
    const long long before = moves(3);
    answerDialog(true);
    host.answers.push_back(platform::MsgResult::No);
    pickSituation("4");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Almoxarifado de Quarentena - Matéria Prima / Insumos não cadastrado para produto.");
    EXPECT_EQ(stored(3, "IDSTATUSAUDI"), "2");
    EXPECT_EQ(stored(3, "DTFINREALAUD"), "");
    EXPECT_EQ(moves(3), before);
    // The list shows what the server holds.
    EXPECT_EQ(a().state(), core::DataSetState::Browse);
    EXPECT_EQ(f("IDSTATUSAUDI").asString(), "2");
    EXPECT_TRUE(f("DTFINREALAUD").isNull());
    EXPECT_EQ(a().changeCount(), 0);
}

TEST_F(ConclusionSave, ConcludingALotWithPartialItemsHandsOverToThePartialApproval) {
    auto rec = recordSaves();
    finishInspections(3);
    exec("UPDATE ITEMINSAUDIT SET IDPARCIAL = 'S' WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + nr(3) + "'");
    reload();
    ASSERT_TRUE(go(3));
    s().boAprovacao = false;
    answerDialog(true);
    host.answers.push_back(platform::MsgResult::No);
    pickSituation("4");
    // The partial approval opens; its window closed counts as cancelled: the post stops.
    std::string partial;
    host.dialogs.push_back([&partial](platform::Form& d) { partial = d.caption; });
    EXPECT_FALSE(confirm());
    EXPECT_TRUE(s().boAprovacao);
    EXPECT_EQ(partial, "Aprovação Parcial de Lote");
    EXPECT_EQ(a().state(), core::DataSetState::Edit);
    EXPECT_TRUE(rec->calls.empty());
    EXPECT_EQ(stored(3, "IDSTATUSAUDI"), "2");
}

TEST_F(ConclusionSave, AConclusionWithoutTheRequiredContentGoesBackToTheContentBox) {
    auto rec = recordSaves();
    finishInspections(4);
    exec("UPDATE AUDITORIA SET IDTEOROBRIG = 'S', VRAPRPRODAUD = NULL WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" +
         nr(4) + "'");
    reload();
    ASSERT_TRUE(go(4));
    answerDialog(true);
    pickSituation("4");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Teor deve ser informado. Análise não será concluída.");
    EXPECT_EQ(f("IDSTATUSAUDI").asString(), "2");  // back where it stood
    EXPECT_FALSE(screen::boConcAnalise);
    EXPECT_EQ(s().comps.activeTab("pgcPadrao"), "tshFormulario");
    EXPECT_EQ(s().comps.activeControl(), "dbeDosagem");
    EXPECT_TRUE(rec->calls.empty());

    // Not greater than zero.
    host.clear();
    f("VRAPRPRODAUD").setValue(0.0);
    answerDialog(true);  // a concluded situation picked in the list asks each time
    pickSituation("4");
    EXPECT_FALSE(confirm());
    EXPECT_EQ(lastError(), "Teor deve ser maior que 0. Análise não será concluída.");
    EXPECT_TRUE(rec->calls.empty());
}

}  // namespace

// Saving a request header (SetAuditoria) as the screen sends it: the change log of
// the request record set with the save's 27 arguments, against the demo factory.
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/format.h"
#include "core/recordset.h"
#include "fixture.h"
#include "open_criteria.h"
#include "records/record_set.h"
#include "records/request_record.h"
#include "support/request_saves.h"

namespace {

using core::DateTime;

constexpr const char* kPostingText = "Lanc.Ref. Conclusão de análise. Nr Pedido: ";

using testsupport::SaveFlags;

class RequestSaveTest : public ServerSuite {
protected:
    // The branch's requests as the screen holds them.
    static void load(core::RecordSet& set, const std::string& branch) {
        records::declareSet(set, records::requestRecord());
        auto a = testsupport::call("GetAuditoria", openCriteria(branch));
        EXPECT_FALSE(a.result.isError()) << a.result.error;
        if (a.result.packet) set.setData(*a.result.packet);
    }
    static int requestCount(const std::string& branch) {
        core::RecordSet set;
        load(set, branch);
        return set.recordCount();
    }
    // The arguments of a save after a post, from the current request of `set`; a save
    // that does not conclude sends the quantities and sub-lot of a partial approval, to
    // see them written back (a concluding one would split the lot with them).
    static std::vector<core::Variant> postArgs(core::RecordSet& set, SaveFlags f = {}) {
        f.nullFields = "_NRLOTEFORN_DTFABRPROD";
        if (!f.concludes) {
            f.approved = 2.5;
            f.rejected = 0.5;
            f.newSubLot = "0002";
        }
        return testsupport::setAuditoriaArgs(set, f);
    }
    // The arguments of a save after a delete: empties, zeros and false.
    static std::vector<core::Variant> deleteArgs(core::RecordSet& set) {
        return {set.delta(), "",         "",    "",        "",    "",         false,      "",         "",
                "",          "",         "",    "",        "",    "",         "",         "A",        "",
                "M",         int64_t{0}, false, "Análise", false, DateTime(), int64_t{0}, int64_t{0}, ""};
    }
    static core::CallAnswer save(std::vector<core::Variant> args) {
        return testsupport::call("SetAuditoria", std::move(args));
    }
    // One request's situation as a change of the screen's set, saved.
    static core::CallAnswer setSituation(const std::string& branch, const std::string& number,
                                         const std::string& situation, SaveFlags f = {}) {
        core::RecordSet set;
        load(set, branch);
        EXPECT_TRUE(set.locate("NRAUDITORIA", number)) << number;
        set.edit();
        set["IDSTATUSAUDI"].setValue(situation);
        set.post();
        return save(postArgs(set, f));
    }
    static std::string text(const std::string& sql) {
        std::string out;
        soci::indicator ind = soci::i_ok;
        db() << sql, soci::into(out, ind);
        return ind == soci::i_ok ? out : std::string("<null>");
    }
    static double number(const std::string& sql) {
        double out = -1;
        soci::indicator ind = soci::i_ok;
        db() << sql, soci::into(out, ind);
        return ind == soci::i_ok ? out : -1;
    }
    static int count(const std::string& sql) { return static_cast<int>(number("SELECT COUNT(*) " + sql)); }
    // A lot's position in a store of its branch; -1 when it has none.
    static double position(const std::string& branch, const std::string& store, const std::string& lot) {
        return number("SELECT QTESTOQUE FROM POSESTOQUE WHERE CDFILIAL = '" + branch + "' AND CDALMOXARIFE = '" +
                      store + "' AND CDLOCALESTOQ = '000001' AND NRLOTEESTQ = '" + lot + "' AND NRSUBLOTE = ' '");
    }
    // Everything a refused save must leave as it was, as text: the request, the
    // number of requests, every stock position, the postings and the lots' validity.
    static std::string snapshot(const std::string& branch, const std::string& number) {
        const std::string key = " FROM AUDITORIA WHERE CDFILIAL = '" + branch + "' AND NRAUDITORIA = '" + number + "'";
        std::string out = text("SELECT IDSTATUSAUDI" + key) + "|" + text("SELECT DSREFEAUDIT" + key) + "|" +
                          text("SELECT DTVALANA" + key) + "|" +
                          std::to_string(RequestSaveTest::number("SELECT DTFINREALAUD" + key)) + "|" +
                          std::to_string(count("FROM AUDITORIA")) + "|";
        soci::rowset<soci::row> positions =
            (db().prepare << "SELECT CDFILIAL, CDALMOXARIFE, CDLOCALESTOQ, CDPRODUTO, NRLOTEESTQ, NRSUBLOTE, QTESTOQUE "
                             "FROM POSESTOQUE ORDER BY CDFILIAL, CDALMOXARIFE, CDLOCALESTOQ, CDPRODUTO, NRLOTEESTQ, "
                             "NRSUBLOTE");
        for (const auto& r : positions)
            out += r.get<std::string>(0) + r.get<std::string>(1) + r.get<std::string>(2) + r.get<std::string>(4) +
                   r.get<std::string>(5) + "=" + std::to_string(r.get<double>(6)) + ";";
        out += std::to_string(count("FROM MOVESTOQUE")) + "|" +
               std::to_string(count("FROM LOTE WHERE DTVALIANALOTE IS NOT NULL"));
        return out;
    }
    static void expectRefused(const core::CallAnswer& a, const std::string& code) {
        EXPECT_EQ(a.result.error, code);
        EXPECT_TRUE(a.out.empty());
    }
};

TEST_F(RequestSaveTest, InsertModifyAndDeleteWriteBackAndTakeTheRequestsRowsAlong) {
    core::RecordSet set;
    load(set, "0001");
    const int before = set.recordCount();
    set.append();
    set["CDFILIAL"].setValue("0001");
    set["NRAUDITORIA"].setValue("9700000001");
    set["IDSTATUSAUDI"].setValue("1");
    set["CDPRODUTO"].setValue("0000000012");
    set["IDTPAUDITADO"].setValue("E");
    set["NRLOTEESTQ"].setValue("CX240215");
    set["NRSUBLOTE"].setValue(" ");
    set["DTINCLAUDIT"].setValue(DateTime::make(2024, 3, 1, 9, 30));
    set["DSREFEAUDIT"].setValue("Caixas - compatibilidade");
    set["QTAMOSAUDI"].setValue(3.0);
    set.post();
    // Saved in another operator's name: refused, nothing written.
    EXPECT_EQ(save(postArgs(set, {.kind = "C", .operatorCode = "ANALISTA"})).result.error,
              "Operador ANALISTA não é o operador desta sessão (DEMO).");
    EXPECT_EQ(requestCount("0001"), before);
    // The change log naming another operator as the one who included it: the session's is recorded.
    set.edit();
    set["CDOPEINCAUDI"].setValue("ANALISTA");
    set.post();
    const auto inserted = save(postArgs(set, {.kind = "C"}));
    ASSERT_FALSE(inserted.result.isError()) << inserted.result.error;
    EXPECT_TRUE(inserted.result.isNull());
    // The by-reference arguments come back: the kind and the quantities as sent, no conclusion.
    ASSERT_EQ(inserted.out.size(), 5u);
    EXPECT_EQ(inserted.out[0].first, 16);
    EXPECT_EQ(inserted.out[0].second.value.asString(), "C");
    EXPECT_EQ(inserted.out[1].first, 23);
    EXPECT_TRUE(inserted.out[1].second.isNull());
    EXPECT_EQ(inserted.out[2].second.value.asFloat(), 2.5);
    EXPECT_EQ(inserted.out[3].second.value.asFloat(), 0.5);
    EXPECT_EQ(inserted.out[4].second.value.asString(), "0002");
    const std::string key = " FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRAUDITORIA = '9700000001'";
    EXPECT_EQ(text("SELECT IDTIPOANA" + key), "C");
    EXPECT_EQ(text("SELECT CDOPEINCAUDI" + key), "DEMO");
    EXPECT_EQ(requestCount("0001"), before + 1);

    // A modify changes what it names; the conclusion moment written back is the saved one.
    set.mergeChangeLog();
    set.edit();
    set["DSREFEAUDIT"].setValue("Caixas - revisado");
    set["DTFINREALAUD"].setValue(DateTime::make(2024, 3, 5, 17, 0));
    set.post();
    server_->loginAs("ANALISTA");
    const auto modified = save(postArgs(set, {.operatorCode = "ANALISTA"}));
    ASSERT_FALSE(modified.result.isError()) << modified.result.error;
    EXPECT_EQ(text("SELECT DSREFEAUDIT" + key), "Caixas - revisado");
    EXPECT_EQ(text("SELECT CDOPEINCAUDI" + key), "DEMO");  // not the saving operator's
    ASSERT_EQ(modified.out.size(), 5u);
    EXPECT_EQ(modified.out[1].second.value.asDateTime(), DateTime::make(2024, 3, 5, 17, 0));
    server_->loginAs("DEMO");

    // What hangs from the request goes with it; the justification trail stays.
    for (const char* sql : {
             "INSERT INTO INSPECAUDIT (CDFILIAL, NRAUDITORIA, NRINSPECAUDI, CDINSPECAO) VALUES ('0001', '9700000001', "
             "'001', '0000000019')",
             "INSERT INTO ITEMINSAUDIT (CDFILIAL, NRAUDITORIA, NRINSPECAUDI, CDINSPECAO) VALUES ('0001', '9700000001', "
             "'001', '0000000022')",
             "INSERT INTO FORMULAANA (CDFILIAL, NRSEQFORMULA, NRAUDITORIA, CDINSPECAO) VALUES ('0001', 97001, "
             "'9700000001', '0000000022')",
             "INSERT INTO RECURSOANA (CDFILIAL, NRSEQRECURANA, NRAUDITORIA, CDINSPECAO) VALUES ('0001', 97001, "
             "'9700000001', '0000000022')",
             "INSERT INTO DSINSPPROD (CDFILIAL, NRAUDITORIA, CDINSPECAO) VALUES ('0001', '9700000001', '0000000022')",
             "INSERT INTO JUSTIFICAANA (CDFILIAL, NRSEQJUSTANA, NRAUDITORIA, CDJUSTIFICATIVA, CDOPERADOR, "
             "DTJUSTIFICA) VALUES ('0001', 97001, '9700000001', '00001', 'DEMO', 45000)",
             // Another branch's request of the same number keeps its rows.
             "INSERT INTO INSPECAUDIT (CDFILIAL, NRAUDITORIA, NRINSPECAUDI, CDINSPECAO) VALUES ('0002', '9700000001', "
             "'001', '0000000019')",
         })
        db() << sql;
    set.mergeChangeLog();
    ASSERT_TRUE(set.locate("NRAUDITORIA", "9700000001"));
    set.remove();
    const auto deleted = save(deleteArgs(set));
    ASSERT_FALSE(deleted.result.isError()) << deleted.result.error;
    EXPECT_EQ(count(key.substr(1)), 0);
    for (const char* table : {"INSPECAUDIT", "ITEMINSAUDIT", "FORMULAANA", "RECURSOANA", "DSINSPPROD"})
        EXPECT_EQ(count(std::string("FROM ") + table + " WHERE CDFILIAL = '0001' AND NRAUDITORIA = '9700000001'"), 0)
            << table;
    EXPECT_EQ(count("FROM JUSTIFICAANA WHERE NRAUDITORIA = '9700000001'"), 1);
    EXPECT_EQ(count("FROM INSPECAUDIT WHERE CDFILIAL = '0002' AND NRAUDITORIA = '9700000001'"), 1);
    db() << "DELETE FROM INSPECAUDIT WHERE NRAUDITORIA = '9700000001'";
    db() << "DELETE FROM JUSTIFICAANA WHERE NRAUDITORIA = '9700000001'";

    // A new request without a number is refused in words, and nothing is written.
    core::RecordSet unnumbered;
    load(unnumbered, "0001");
    unnumbered.append();
    unnumbered["CDFILIAL"].setValue("0001");
    unnumbered["DSREFEAUDIT"].setValue("Sem número");
    unnumbered.post();
    const std::string all = snapshot("0001", "");
    EXPECT_EQ(save(postArgs(unnumbered)).result.error, "Número do pedido deve ser informado.");
    EXPECT_EQ(snapshot("0001", ""), all);
    // Twenty-six arguments are not a save.
    auto shortArgs = postArgs(unnumbered);
    shortArgs.pop_back();
    EXPECT_EQ(save(shortArgs).result.error, "Método SetAuditoria: esperados 27 argumentos, recebidos 26.");
}

TEST_F(RequestSaveTest, SituationRulesHoldWhateverTheClientSends) {
    // 8 is cancelled, 4 concluded OK, 3 in progress with inspections open, 2 pending
    // without inspections.
    const std::string cancelled = snapshot("0001", "0000000008");
    expectRefused(setSituation("0001", "0000000008", "2"), "P_SIT_CANCELADA");
    expectRefused(setSituation("0001", "0000000008", "1"), "P_SIT_CANCELADA");
    EXPECT_EQ(snapshot("0001", "0000000008"), cancelled);

    const std::string concludedOk = snapshot("0001", "0000000004");
    expectRefused(setSituation("0001", "0000000004", "1"), "P_SIT_NPEND");
    EXPECT_EQ(snapshot("0001", "0000000004"), concludedOk);

    const std::string open = snapshot("0001", "0000000003");
    ASSERT_GT(count("FROM INSPECAUDIT WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000003' AND IDINSPCONC = 'P'"), 0);
    expectRefused(setSituation("0001", "0000000003", "4", {.concludes = true}), "P_SIT_NCONC");
    expectRefused(setSituation("0001", "0000000003", "5", {.concludes = true}), "P_SIT_NCONC");
    expectRefused(setSituation("0001", "0000000003", "1"), "P_SIT_NPEND");
    EXPECT_EQ(snapshot("0001", "0000000003"), open);
    ASSERT_EQ(count("FROM INSPECAUDIT WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000002'"), 0);
    expectRefused(setSituation("0001", "0000000002", "4"), "P_SIT_NCONC");
    EXPECT_EQ(text("SELECT IDSTATUSAUDI FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000002'"), "1");

    // A cancelled request may still change what is not its situation, and be deleted.
    core::RecordSet set;
    load(set, "0001");
    ASSERT_TRUE(set.locate("NRAUDITORIA", "0000000027"));
    set.edit();
    set["DSREFEAUDIT"].setValue("Néctar - cancelado por engano de lote");
    set.post();
    const auto described = save(postArgs(set));
    ASSERT_FALSE(described.result.isError()) << described.result.error;
    set.mergeChangeLog();
    ASSERT_TRUE(set.locate("NRAUDITORIA", "0000000027"));
    set.remove();
    const auto deleted = save(deleteArgs(set));
    ASSERT_FALSE(deleted.result.isError()) << deleted.result.error;
    EXPECT_EQ(count("FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000027'"), 0);
}

TEST_F(RequestSaveTest, AStoreOrParameterMissingRefusesTheWholeConclusion) {
    // The lot of 0001/30 lies in quarantine; its inspections are all concluded.
    ASSERT_EQ(text("SELECT IDSTATUSAUDI FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000030'"), "2");
    auto refusedWith = [&](const std::string& change, const std::string& undo, const std::string& code,
                           const std::string& situation = "4") {
        db() << change;
        const std::string before = snapshot("0001", "0000000030");
        expectRefused(setSituation("0001", "0000000030", situation, {.concludes = true}), code);
        EXPECT_EQ(snapshot("0001", "0000000030"), before) << code;
        db() << undo;
    };
    const std::string stores = "UPDATE PRODFILIAL SET ";
    const std::string product = " WHERE CDFILIAL = '0001' AND CDPRODUTO = '0000000003'";
    refusedWith(stores + "CDALMOXARIFE = NULL" + product, stores + "CDALMOXARIFE = '000001'" + product,
                "P_ALMOXORIG_CAD");
    refusedWith(stores + "CDLOCALINSPR = ' '" + product, stores + "CDLOCALINSPR = '000001'" + product,
                "P_ALMOXDEST_CAD");
    refusedWith(stores + "CDALMOXREPROV = NULL" + product, stores + "CDALMOXREPROV = '000005'" + product,
                "ALMOX_DEST_REPR_INFO", "5");
    refusedWith("UPDATE PARAMMAN SET IDLIBLOTEEST = NULL WHERE CDFILIAL = '0001'",
                "UPDATE PARAMMAN SET IDLIBLOTEEST = '1' WHERE CDFILIAL = '0001'", "LIBLOTEESTQ_INFO");
    const std::string quarantine = " WHERE CDFILIAL = '0001' AND CDALMOXARIFE = '000001' AND NRLOTEESTQ = 'AS240302'";
    refusedWith("UPDATE POSESTOQUE SET QTESTOQUE = 0.0004" + quarantine,
                "UPDATE POSESTOQUE SET QTESTOQUE = 50" + quarantine, "SEMQTDE_ESTQ");
    refusedWith("UPDATE POSESTOQUE SET CDLOCALESTOQ = '000002'" + quarantine,
                "UPDATE POSESTOQUE SET CDLOCALESTOQ = '000001'" + quarantine, "N_POS_ESTOQUE");

    // Finished products name their own stores.
    const std::string juice = " WHERE CDFILIAL = '0002' AND CDPRODUTO = '0000000016'";
    db() << stores + "CDALMOXQUAR = NULL" + juice;
    expectRefused(setSituation("0002", "0000000001", "4", {.concludes = true}), "ALMOX_ORIG_PROD_INFO");
    db() << stores + "CDALMOXQUAR = '000003', CDALMOXPRACA = NULL" + juice;
    expectRefused(setSituation("0002", "0000000001", "4", {.concludes = true}), "ALMOX_DEST_PROD_INFO");
    db() << stores + "CDALMOXPRACA = '000004'" + juice;

    // Where the move is not the analysis' (another routine's, or no lot control), the
    // conclusion is saved and nothing moves.
    db() << "UPDATE PARAMMAN SET IDLIBLOTEEST = '3' WHERE CDFILIAL = '0001'";
    ASSERT_FALSE(setSituation("0001", "0000000030", "4", {.concludes = true}).result.isError());
    EXPECT_EQ(position("0001", "000001", "AS240302"), 50);
    EXPECT_EQ(text("SELECT IDSTATUSAUDI FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000030'"), "4");
    db() << "UPDATE PARAMMAN SET IDLIBLOTEEST = '1' WHERE CDFILIAL = '0001'";
    db() << "UPDATE AUDITORIA SET IDSTATUSAUDI = '2' WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000030'";
}

TEST_F(RequestSaveTest, ConclusionMovesTheLotAndReopeningBringsItBack) {
    // 0001/30: raw material, every inspection concluded, 50 in quarantine (000001).
    ASSERT_EQ(position("0001", "000001", "AS240302"), 50);
    const std::string mine = "FROM MOVESTOQUE WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000030'";
    const auto released = setSituation("0001", "0000000030", "4", {.concludes = true});
    ASSERT_FALSE(released.result.isError()) << released.result.error;
    EXPECT_EQ(position("0001", "000001", "AS240302"), 0);
    EXPECT_EQ(position("0001", "000002", "AS240302"), 50);
    EXPECT_EQ(count(mine + " AND IDTPMOVEST = 'S' AND CDALMOXARIFE = '000001' AND QTMOVEST = 50"), 1);
    EXPECT_EQ(count(mine + " AND IDTPMOVEST = 'E' AND CDALMOXARIFE = '000002' AND QTMOVEST = 50"), 1);
    EXPECT_EQ(count(mine + " AND CDOPERADOR = 'DEMO' AND DSLANCTOEST = '" + kPostingText + "0000000030'"), 2);
    EXPECT_EQ(text("SELECT IDSTATUSAUDI FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000030'"), "4");

    // Saved again while concluded, nothing moves a second time.
    core::RecordSet set;
    load(set, "0001");
    ASSERT_TRUE(set.locate("NRAUDITORIA", "0000000030"));
    set.edit();
    set["DSREFEAUDIT"].setValue("Ácido Ascórbico - liberado");
    set.post();
    ASSERT_FALSE(save(postArgs(set, {.concludes = true})).result.isError());
    EXPECT_EQ(count(mine), 2);

    // Reopened without the reversal, the lot stays; with it, it goes back to quarantine.
    ASSERT_FALSE(setSituation("0001", "0000000030", "2").result.isError());
    EXPECT_EQ(position("0001", "000002", "AS240302"), 50);
    db() << "UPDATE AUDITORIA SET IDSTATUSAUDI = '4' WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000030'";
    const auto reopened = setSituation("0001", "0000000030", "2", {.revertsTransfer = true});
    ASSERT_FALSE(reopened.result.isError()) << reopened.result.error;
    EXPECT_EQ(position("0001", "000002", "AS240302"), 0);
    EXPECT_EQ(position("0001", "000001", "AS240302"), 50);
    EXPECT_EQ(count(mine), 4);

    // Rejected: to the rejected store, and back from there when reopened.
    ASSERT_FALSE(setSituation("0001", "0000000030", "5", {.concludes = true}).result.isError());
    EXPECT_EQ(position("0001", "000005", "AS240302"), 50);
    EXPECT_EQ(position("0001", "000001", "AS240302"), 0);
    ASSERT_FALSE(setSituation("0001", "0000000030", "2", {.revertsTransfer = true}).result.isError());
    EXPECT_EQ(position("0001", "000005", "AS240302"), 0);
    EXPECT_EQ(position("0001", "000001", "AS240302"), 50);

    // Concluded again, then the released lot is used up: reopening cannot bring it back.
    ASSERT_FALSE(setSituation("0001", "0000000030", "4", {.concludes = true}).result.isError());
    db() << "UPDATE POSESTOQUE SET QTESTOQUE = 0 WHERE CDFILIAL = '0001' AND CDALMOXARIFE = '000002' "
            "AND NRLOTEESTQ = 'AS240302'";
    const std::string used = snapshot("0001", "0000000030");
    expectRefused(setSituation("0001", "0000000030", "2", {.revertsTransfer = true}), "EST_IRREGULAR");
    EXPECT_EQ(snapshot("0001", "0000000030"), used);

    // A finished product of the other branch (0002/1): quarantine 000003 to released 000004.
    ASSERT_EQ(position("0002", "000003", "SL240307"), 3600);
    const auto finished = setSituation("0002", "0000000001", "4", {.concludes = true});
    ASSERT_FALSE(finished.result.isError()) << finished.result.error;
    EXPECT_EQ(position("0002", "000003", "SL240307"), 0);
    EXPECT_EQ(position("0002", "000004", "SL240307"), 3600);
    EXPECT_EQ(count("FROM MOVESTOQUE WHERE CDFILIAL = '0002' AND NRAUDITORIA = '0000000001' AND DSLANCTOEST = '" +
                    std::string(kPostingText) + "0000000001'"),
              2);
}

TEST_F(RequestSaveTest, ValidityIsWrittenToTheRequestAndItsLot) {
    // 0001/4: citric acid (six units: 180 days), lot AC240115.
    core::RecordSet set;
    load(set, "0001");
    ASSERT_TRUE(set.locate("NRAUDITORIA", "0000000004"));
    const DateTime included = set["DTINCLAUDIT"].asDateTime();
    ASSERT_GT(included.days, 0);
    set.edit();
    set["DSREFEAUDIT"].setValue("Ácido Cítrico - validade recalculada");
    set.post();
    const auto saved = save(postArgs(set, {.recalculatesValidity = true}));
    ASSERT_FALSE(saved.result.isError()) << saved.result.error;
    const DateTime expected = included.datePart().plusDays(180);
    EXPECT_EQ(text("SELECT DTVALANA FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000004'"),
              core::formatDateTime("dd/mm/yyyy", expected));
    EXPECT_EQ(number("SELECT DTVALIANALOTE FROM LOTE WHERE CDFILIAL = '0001' AND CDPRODUTO = '0000000001' AND "
                     "NRLOTEESTQ = 'AC240115' AND NRSUBLOTE = ' '"),
              expected.days);
    // The answer agrees with the check the screen runs first.
    auto check = testsupport::call("verificaValidade",
                                   {"0001", "0001", "MXA", "AC240115", " ", "Análise", "0000000001", included});
    ASSERT_TRUE(check.result.packet);
    EXPECT_EQ(check.result.packet->rows[0][1].asDateTime(), expected);
}

TEST_F(RequestSaveTest, TheSecondOfTwoClientsEditingOneRequestIsRefused) {
    core::RecordSet first;
    load(first, "0001");
    core::RecordSet second;
    load(second, "0001");
    ASSERT_TRUE(first.locate("NRAUDITORIA", "0000000010"));
    ASSERT_TRUE(second.locate("NRAUDITORIA", "0000000010"));
    first.edit();
    first["DSREFEAUDIT"].setValue("Frascos - primeiro operador");
    first["QTAMOSAUDI"].setValue(4.0);
    first.post();
    second.edit();
    second["DSREFEAUDIT"].setValue("Frascos - segundo operador");
    second.post();
    ASSERT_FALSE(save(postArgs(first)).result.isError());
    const std::string after = snapshot("0001", "0000000010");
    expectRefused(save(postArgs(second)), appserver::kRowChanged);
    EXPECT_EQ(snapshot("0001", "0000000010"), after);
    EXPECT_EQ(text("SELECT DSREFEAUDIT FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000010'"),
              "Frascos - primeiro operador");
    // Of two deletes of one request, the second finds nothing left to delete.
    first.mergeChangeLog();
    second.cancelUpdates();
    ASSERT_TRUE(first.locate("NRAUDITORIA", "0000000010"));
    ASSERT_TRUE(second.locate("NRAUDITORIA", "0000000010"));
    first.remove();
    second.remove();
    ASSERT_FALSE(save(deleteArgs(first)).result.isError());
    const std::string deleted = snapshot("0001", "0000000010");
    expectRefused(save(deleteArgs(second)), appserver::kRowChanged);
    EXPECT_EQ(snapshot("0001", "0000000010"), deleted);
    // A change to a request that is gone is told as such, whatever situation it sets.
    second.cancelUpdates();
    ASSERT_TRUE(second.locate("NRAUDITORIA", "0000000010"));
    second.edit();
    second["IDSTATUSAUDI"].setValue("4");
    second.post();
    expectRefused(save(postArgs(second, {.concludes = true})), appserver::kRowChanged);
}

}  // namespace

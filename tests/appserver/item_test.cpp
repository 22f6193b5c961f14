// Items of an inspection as the screen saves them one by one (SetItemInsAudit), the
// catalogue rows their results are judged against, and the lot's situation after them.
#include <optional>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/recordset.h"
#include "fixture.h"
#include "records/item_record.h"
#include "records/record_set.h"

namespace {

// Strings, not literals: SOCI reads a bound value by address when the statement runs.
const std::string kBranch = "0001";
const std::string kRequest = "9500000001";    // concluded OK: its items may still change
const std::string kCancelled = "9500000002";  // cancelled
const std::string kGoverned = "9500000003";   // items of every importance

class ItemTest : public ServerSuite {
public:
    static void SetUpTestSuite() {
        ServerSuite::SetUpTestSuite();
        for (const char* row : {"'9500000001', '4'", "'9500000002', '3'", "'9500000003', '2'"})
            db() << std::string(
                        "INSERT INTO AUDITORIA (CDFILIAL, NRAUDITORIA, IDSTATUSAUDI, CDPRODUTO, "
                        "IDTPAUDITADO) VALUES ('0001', ") +
                        row + ", 'TSTITEM', 'M')";
        // Inspection 001 of each is the raw material's physico-chemistry (tree 0101).
        for (const auto* r : {&kRequest, &kCancelled, &kGoverned})
            db() << "INSERT INTO INSPECAUDIT (CDFILIAL, NRAUDITORIA, NRINSPECAUDI, CDINSPECAO) VALUES ('0001', :n, "
                    "'001', '0000000002')",
                soci::use(*r);
        // 0101003 (importance R) and 0101002 (I), saved out of tree order.
        struct Seed {
            const std::string& request;
            std::string analysis, importance;
        };
        for (const Seed& s :
             {Seed{kRequest, "0000000005", "R"}, Seed{kRequest, "0000000004", "I"}, Seed{kCancelled, "0000000004", "I"},
              Seed{kGoverned, "0000000003", "I"}, Seed{kGoverned, "0000000004", "N"},
              Seed{kGoverned, "0000000005", "R"}, Seed{kGoverned, "0000000006", "F"}})
            db() << "INSERT INTO ITEMINSAUDIT (CDFILIAL, NRAUDITORIA, NRINSPECAUDI, CDINSPECAO, IDATEITEINSP) "
                    "VALUES ('0001', :n, '001', :a, :i)",
                soci::use(s.request), soci::use(s.analysis), soci::use(s.importance);
    }

protected:
    static void load(core::RecordSet& set, const std::string& request) {
        auto a = testsupport::call("GetItemInsAudit", {kBranch, request, "001"});
        ASSERT_FALSE(a.result.isError()) << a.result.error;
        records::declareSet(set, records::itemRecord());
        set.setData(*a.result.packet);
    }
    static void append(core::RecordSet& set, const std::string& request, const std::string& analysis) {
        set.append();
        set["CDFILIAL"].setValue(kBranch);
        set["NRAUDITORIA"].setValue(request);
        set["NRINSPECAUDI"].setValue("001");
        set["CDINSPECAO"].setValue(analysis);
        set["IDOPCACEITIN"].setValue("P");
        set["CDOPERADOR"].setValue("DEMO");
        set.post();
    }
    static std::string save(const core::RecordSet& set) {
        return testsupport::call("SetItemInsAudit", {set.delta(), ""}).result.error;
    }
    static std::string text(const std::string& sql) {
        std::string out;
        soci::indicator ind = soci::i_ok;
        db() << sql, soci::into(out, ind);
        return ind == soci::i_ok ? out : std::string("<null>");
    }
    static std::string item(const std::string& column, const std::string& request, const std::string& analysis) {
        return text("SELECT " + column + " FROM ITEMINSAUDIT WHERE NRAUDITORIA = '" + request + "' AND CDINSPECAO = '" +
                    analysis + "'");
    }
    static int items(const std::string& request) {
        int n = 0;
        db() << "SELECT COUNT(*) FROM ITEMINSAUDIT WHERE NRAUDITORIA = :n", soci::use(request), soci::into(n);
        return n;
    }
    // A column of an answer's packet, row by row.
    static std::vector<std::string> column(const core::CallAnswer& a, const char* name) {
        std::vector<std::string> out;
        EXPECT_FALSE(a.result.isError()) << a.result.error;
        if (!a.result.packet) return out;
        for (const auto& row : a.result.packet->rows) out.push_back(row[a.result.packet->fieldIndex(name)].asString());
        return out;
    }
};

TEST_F(ItemTest, SavesCheckEveryChangeAndRecordWhoAnswered) {
    core::RecordSet set;
    load(set, kRequest);
    ASSERT_EQ(set.recordCount(), 2);
    set.first();
    EXPECT_EQ(set["CDARVINSPEC"].asString(), "0101002");  // by tree code, names joined
    EXPECT_EQ(set["NMINSPECAO"].asString(), "Teor de Pureza");
    EXPECT_EQ(set["IDTPRESPINSP"].asString(), "VALR");

    // Refused, each alone and along with a good insert: nothing written.
    const std::pair<const char*, const char*> refused[] = {
        {"0000000008", "Análise deve ser do mesmo nível anterior que a análise informada."},  // 0102001
        {"0000000026", "Análise não cadastrada ou inativa."},                                 // inactive
        {"0000000002", "Análise não cadastrada ou inativa."},                                 // the inspection's level
        {"0000000004", "Análise já cadastrada."},
        {"0000000006", "Análise já cadastrada."},  // twice in one log
    };
    for (const auto& [analysis, message] : refused) {
        append(set, kRequest, "0000000006");
        append(set, kRequest, analysis);
        EXPECT_EQ(save(set), message) << analysis;
        set.cancelUpdates();
    }
    append(set, kRequest, "0000000006");
    set.edit();
    set["IDRESULTIMENS"].setValue("X");
    set.post();
    EXPECT_EQ(save(set), "Resultado imensurável inválido: \"X\". Use D (Indetectável) ou T (Incontável).");
    set.cancelUpdates();
    EXPECT_EQ(items(kRequest), 2);

    // Another analysis of the branch, and an answer: the operator the screen names is
    // kept, the session's recorded where it names none, an unknown one refused.
    server_->loginAs("ANALISTA");
    append(set, kRequest, "0000000003");
    set.edit();
    set["CDOPERADOR"].setValue("NINGUEM");
    set.post();
    EXPECT_EQ(save(set), "Operador não cadastrado.");
    set.edit();
    set["CDOPERADOR"].clear();
    set.post();
    ASSERT_TRUE(set.locate("CDINSPECAO", "0000000004"));
    set.edit();
    set["VRRESPINSAUD"].setValue(99.5);
    set["CDRESPINSPEC"].setValue("00001");
    set["IDOPCACEITIN"].setValue("S");
    set["CDOPERADOR"].setValue("DEMO");
    set.post();
    ASSERT_EQ(save(set), "");
    set.mergeChangeLog();
    EXPECT_EQ(item("CDOPERADOR", kRequest, "0000000003"), "ANALISTA");
    EXPECT_EQ(item("IDATEITEINSP", kRequest, "0000000003"), "I");  // the analysis' importance
    EXPECT_EQ(item("IDOPCACEITIN", kRequest, "0000000003"), "P");
    EXPECT_EQ(item("CDOPERADOR", kRequest, "0000000004"), "DEMO");
    EXPECT_EQ(item("CDRESPINSPEC", kRequest, "0000000004"), "00001");
    EXPECT_EQ(item("IDOPCACEITIN", kRequest, "0000000004"), "S");

    // Nothing of a cancelled request changes.
    core::RecordSet cancelled;
    load(cancelled, kCancelled);
    cancelled.first();
    cancelled.edit();
    cancelled["IDOPCACEITIN"].setValue("S");
    cancelled.post();
    EXPECT_EQ(save(cancelled), "P_SIT_CANCELADA");
    cancelled.cancelUpdates();
    cancelled.first();
    cancelled.remove();
    EXPECT_EQ(save(cancelled), "P_SIT_CANCELADA");
    EXPECT_EQ(item("IDOPCACEITIN", kCancelled, "0000000004"), "P");
}

TEST_F(ItemTest, CatalogueRowsInTheirOwnOrderForProductAndVersion) {
    // The product's own rows, numbered against their codes' order, for any version.
    db() << "INSERT INTO RESPOSINSPEC (NRSEQRESPINSP, CDINSPECAO, CDRESPINSPEC, NMRESPINSPEC, VRPONTRESINS, "
            "IDFAIXRESINS, VRINIFAIXRES, VRFINFAIXRES, CDPRODUTO, IDRESPPROC) VALUES (9101, '0000000003', '00099', "
            "'Conforme', 0, '=', 1, 2, 'TSTITEM', 'M')";
    db() << "INSERT INTO RESPOSINSPEC (NRSEQRESPINSP, CDINSPECAO, CDRESPINSPEC, NMRESPINSPEC, VRPONTRESINS, "
            "IDFAIXRESINS, VRINIFAIXRES, VRFINFAIXRES, CDPRODUTO, IDRESPPROC) VALUES (9102, '0000000003', '00098', "
            "'Atenção', 1, '=', 1.5, 3, 'TSTITEM', 'M')";
    const auto result = [](int mode, const std::string& product, const std::string& version) {
        return column(testsupport::call("GetResultado", {mode, product, "M", "0000000003", version}), "CDRESPINSPEC");
    };
    using Codes = std::vector<std::string>;
    EXPECT_EQ(result(1, "TSTITEM", ""), (Codes{"00099", "00098"}));
    EXPECT_EQ(result(1, "TSTITEM", "x"), (Codes{"00099", "00098"}));
    EXPECT_TRUE(result(1, "TSTITEM", "V1").empty());
    EXPECT_EQ(result(2, "", ""), (Codes{"00001", "00002", "00003", "00004"}));
    EXPECT_EQ(testsupport::call("GetResultado", {3, "", "", "0000000003", ""}).result.error,
              "Modo de consulta das respostas inválido: 3. Use 1 (do produto) ou 2 (gerais).");

    // Immeasurable rows of the total count: the 1 L juice (0000000016) has its own
    // for V2 only; the version comes back as it went.
    const auto immeasurable = [](const std::string& product, const std::string& version) {
        auto a = testsupport::call("GetExisteImensu", {"0000000015", "A", product, version});
        EXPECT_EQ(a.out.size(), 1u);
        if (!a.out.empty()) {
            EXPECT_EQ(a.out[0].second.value.asString(), version);
        }
        return column(a, "CDRESPINSPEC");
    };
    EXPECT_EQ(immeasurable("0000000016", "V2"), (Codes{"00011", "00014"}));
    EXPECT_EQ(immeasurable("0000000016", "V1"), (Codes{"00001", "00004"}));
    EXPECT_EQ(immeasurable("", "x"), (Codes{"00001", "00004"}));
}

TEST_F(ItemTest, LotSituationAndValidityFollowTheItems) {
    db() << "INSERT INTO LOTE (CDFILIAL, CDPRODUTO, NRLOTEESTQ, NRSUBLOTE, IDSITLOTE) VALUES ('0001', 'TSTITEM', "
            "'LT-ITEM', ' ', 'A')";
    const auto upLote = [](const core::DateTime& date, const char* situation, const char* lot, const char* ident) {
        return testsupport::call("Up_Lote", {date, situation, kBranch, lot, "", "TSTITEM", ident});
    };
    const auto lot = [](const char* column) {
        return text(std::string("SELECT ") + column + " FROM LOTE WHERE NRLOTEESTQ = 'LT-ITEM'");
    };
    const auto validUntil = [] {
        double days = 0;
        soci::indicator ind = soci::i_ok;
        db() << "SELECT DTVALIANALOTE FROM LOTE WHERE NRLOTEESTQ = 'LT-ITEM'", soci::into(days, ind);
        return ind == soci::i_ok ? std::optional<double>(days) : std::nullopt;
    };
    const core::DateTime validity(46100.5);
    auto a = upLote(validity, "L", "LT-ITEM", "1");
    ASSERT_FALSE(a.result.isError()) << a.result.error;
    ASSERT_EQ(a.out.size(), 1u);
    EXPECT_EQ(a.out[0].first, 6);
    EXPECT_EQ(a.out[0].second.value.asString(), "1");
    EXPECT_EQ(lot("IDSITLOTE"), "L");
    EXPECT_EQ(validUntil(), std::optional<double>(validity.days));

    a = upLote(validity, "A", "LT-ITEM", "0");
    ASSERT_FALSE(a.result.isError()) << a.result.error;
    EXPECT_EQ(lot("IDSITLOTE"), "A");
    EXPECT_EQ(validUntil(), std::nullopt);

    a = upLote(validity, "L", "LT-NADA", "1");
    ASSERT_FALSE(a.result.isError()) << a.result.error;
    ASSERT_EQ(a.out.size(), 1u);
    EXPECT_EQ(a.out[0].second.value.asString(), "0");
    EXPECT_EQ(upLote(validity, "X", "LT-ITEM", "1").result.error,
              "Situação do lote inválida: \"X\". Use L (liberado), R (reprovado) ou A (em análise).");
    EXPECT_FALSE(upLote(validity, "L", "LT-ITEM", "2").result.error.empty());
    EXPECT_EQ(lot("IDSITLOTE"), "A");

    // Only indispensable and necessary items govern the lot.
    EXPECT_EQ(column(testsupport::call("GetVerifItemAudit", {kBranch, kGoverned}), "IDATEITEINSP"),
              (std::vector<std::string>{"I", "N"}));
    db() << "UPDATE ITEMINSAUDIT SET IDATEITEINSP = 'R' WHERE NRAUDITORIA = :n AND IDATEITEINSP IN ('I', 'N')",
        soci::use(kGoverned);
    EXPECT_TRUE(column(testsupport::call("GetVerifItemAudit", {kBranch, kGoverned}), "IDATEITEINSP").empty());
    // An analysis already among the inspection's items, by tree code.
    EXPECT_EQ(column(testsupport::call("GetVdInspUltNiv", {"0101004", kBranch, kGoverned, "001"}), "CDINSPECAO"),
              (std::vector<std::string>{"0000000006"}));
    EXPECT_TRUE(
        column(testsupport::call("GetVdInspUltNiv", {"0101004", kBranch, kRequest, "001"}), "CDINSPECAO").empty());
}

}  // namespace

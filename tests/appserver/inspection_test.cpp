// Inspections of a request as the screen saves them (SetInspecAudit): the items the
// server creates from the product profile and the rules every client is held to. The
// test subjects' rest periods are played through the screen (tests/screen).
#include <map>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/recordset.h"
#include "fixture.h"
#include "records/inspection_record.h"
#include "records/record_set.h"

namespace {

using core::DateTime;

// Strings, not literals: SOCI reads a bound value by address when the statement runs.
const std::string kBranch = "0001";
const std::string kRequest = "9600000001";    // in progress, product TSTINSP, raw material
const std::string kCancelled = "9600000002";  // cancelled
const std::string kProduct = "TSTINSP";

class InspectionTest : public ServerSuite {
public:
    static void SetUpTestSuite() {
        ServerSuite::SetUpTestSuite();
        const double today = DateTime::now().datePart().days;
        const double included = today - 1, v1From = today - 400, v1To = today - 100, v2From = today - 99;
        const std::string inProgress = "2", cancelled = "3";
        for (const auto* r : {&kRequest, &kCancelled}) {
            const std::string& situation = r == &kRequest ? inProgress : cancelled;
            db() << "INSERT INTO AUDITORIA (CDFILIAL, NRAUDITORIA, IDSTATUSAUDI, CDPRODUTO, IDTPAUDITADO, DTINCLAUDIT) "
                    "VALUES ('0001', :n, :s, 'TSTINSP', 'M', :d)",
                soci::use(*r), soci::use(situation), soci::use(included);
        }
        // V1 has ended; V2 is in force on the request's day.
        db() << "INSERT INTO VERSAOPRODANA (CDPRODUTO, IDTPAUDITADO, CDVERSAO, DTVIGINICIO, DTVIFGFINAL) VALUES "
                "('TSTINSP', 'M', 'V1', :a, :b)",
            soci::use(v1From), soci::use(v1To);
        db() << "INSERT INTO VERSAOPRODANA (CDPRODUTO, IDTPAUDITADO, CDVERSAO, DTVIGINICIO) VALUES "
                "('TSTINSP', 'M', 'V2', :a)",
            soci::use(v2From);
        // The profile under analysis 0101: only 0101002 and 0101003 belong to this
        // request; every other row differs in one respect.
        for (const char* row : {
                 "9001, 'TSTINSP', '0000000004', 'M', NULL, NULL, 'A'",  // 0101002
                 "9002, 'TSTINSP', '0000000005', 'M', 'V2', 'F', 'A'",   // 0101003, importance of its own
                 "9003, 'TSTINSP', '0000000003', 'M', 'V1', NULL, 'A'",  // 0101001: version ended
                 "9004, 'TSTINSP', '0000000006', 'E', NULL, NULL, 'A'",  // 0101004: another process
                 "9005, 'TSTINSP', '0000000006', 'M', NULL, NULL, 'I'",  // 0101004: inactive in the profile
                 "9006, 'TSTINSP', '0000000026', 'M', NULL, NULL, 'A'",  // 0101005: inactive analysis
                 "9007, 'TSTINSP', '0000000008', 'M', NULL, NULL, 'A'",  // 0102001: another branch of the tree
                 "9008, 'OUTRO', '0000000003', 'M', NULL, NULL, 'A'",    // 0101001: another product
             })
            db() << std::string(
                        "INSERT INTO PRODINSPEC (NRSEQPRODINSP, CDPRODUTO, CDINSPECAO, IDPROCPROD, CDVERSAO, "
                        "IDATEITEINSP, IDSITPRODINSP) VALUES (") +
                        row + ")";
        // The product's own normal range of 0101003 for V2; 0101002 keeps the general
        // "M" row of 99. The ended version's row and a 2-point row come first by code.
        for (const char* row : {
                 "9001, '0000000005', '00089', 'Antiga', 0, '<', 1, 1, 'V1'",
                 "9002, '0000000005', '00090', 'Acima', 2, '>', 7.25, 7.25, 'V2'",
                 "9003, '0000000005', '00091', 'Conforme', 0, '=', 0.25, 7.25, 'V2'",
             })
            db() << std::string(
                        "INSERT INTO RESPOSINSPEC (NRSEQRESPINSP, CDINSPECAO, CDRESPINSPEC, NMRESPINSPEC, "
                        "VRPONTRESINS, IDFAIXRESINS, VRINIFAIXRES, VRFINFAIXRES, CDVERSAO, CDPRODUTO, "
                        "IDRESPPROC) VALUES (") +
                        row + ", 'TSTINSP', 'M')";
    }

protected:
    static core::Packet inspections(const std::string& request) {
        auto a = testsupport::call("GetInspecAudit", {kBranch, request});
        EXPECT_FALSE(a.result.isError()) << a.result.error;
        return a.result.packet ? *a.result.packet : core::Packet{};
    }
    static void load(core::RecordSet& set, const std::string& request) {
        records::declareSet(set, records::inspectionRecord());
        set.setData(inspections(request));
    }
    static void appendInspection(core::RecordSet& set, const std::string& request, const std::string& number,
                                 const std::string& analysis) {
        set.append();
        set["CDFILIAL"].setValue(kBranch);
        set["NRAUDITORIA"].setValue(request);
        set["NRINSPECAUDI"].setValue(number);
        set["CDINSPECAO"].setValue(analysis);
        set["IDTIPOINSAUD"].setValue("A");
        set["IDNOVAAMOSTR"].setValue("N");
        set["IDINSPCONC"].setValue("P");
    }
    // The screen's 14 arguments; the words of "between" differ from the defaults, to
    // see the ones sent used.
    static core::CallAnswer save(const core::RecordSet& set, const std::string& request, const std::string& number) {
        return testsupport::call("SetInspecAudit",
                                 {set.delta(), "", kProduct, "", "M", "Maior que ", "Menor que ", "De ", " a ", kBranch,
                                  request, number, "Maior ou Igual à", "Menor ou Igual à "});
    }
    // Items of the answer by tree code: field -> value text.
    static std::map<std::string, std::map<std::string, std::string>> items(const core::CallAnswer& a) {
        std::map<std::string, std::map<std::string, std::string>> out;
        if (!a.result.packet) return out;
        const auto& p = *a.result.packet;
        for (const auto& row : p.rows) {
            auto& item = out[row[p.fieldIndex("CDARVINSPEC")].asString()];
            for (size_t i = 0; i < p.fields.size(); ++i)
                item[p.fields[i].name] = row[i].isNull() ? "<null>" : row[i].asString();
        }
        return out;
    }
    static std::string text(const std::string& sql) {
        std::string out;
        soci::indicator ind = soci::i_ok;
        db() << sql, soci::into(out, ind);
        return ind == soci::i_ok ? out : std::string("<null>");
    }
    static int rows(const std::string& from) {
        int n = 0;
        db() << "SELECT COUNT(*) " + from, soci::into(n);
        return n;
    }
    static std::string where(const std::string& request, const std::string& number) {
        return " WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + request + "' AND NRINSPECAUDI = '" + number + "'";
    }
};

TEST_F(InspectionTest, InsertCreatesTheProfilesItemsThenModifyConcludeAndDelete) {
    core::RecordSet set;
    load(set, kRequest);
    appendInspection(set, kRequest, "001", "0000000002");  // 0101, the raw material's physico-chemistry
    set["DTINIRINSAUD"].setValue(DateTime::now());
    set.post();
    auto a = save(set, kRequest, "001");
    ASSERT_FALSE(a.result.isError()) << a.result.error;
    set.mergeChangeLog();
    auto created = items(a);
    ASSERT_EQ(created.size(), 2u);
    auto& purity = created["0101002"];
    EXPECT_EQ(purity["DSLIMIINSP"], "Maior ou Igual à99");
    EXPECT_EQ(purity["IDATEITEINSP"], "I");
    EXPECT_EQ(purity["IDOPCACEITIN"], "P");
    EXPECT_EQ(purity["IDPARCIAL"], "N");
    EXPECT_EQ(purity["IDTPRESPINSP"], "VALR");
    EXPECT_EQ(purity["NMINSPECAO"], "Teor de Pureza");
    auto& moisture = created["0101003"];
    EXPECT_EQ(moisture["DSLIMIINSP"], "De 0,25 a 7,25");
    EXPECT_EQ(moisture["IDATEITEINSP"], "F");
    EXPECT_EQ(text("SELECT CDOPERADOR FROM INSPECAUDIT" + where(kRequest, "001")), "DEMO");
    auto counter = testsupport::call("GetContador", {kBranch, kRequest, "001"});
    ASSERT_TRUE(counter.result.packet);
    EXPECT_EQ(counter.result.packet->rows.at(0)[0].asFloat(), 2.0);
    auto pending = testsupport::call("GetPesqItemInsAudit", {kBranch, kRequest, "001"});
    ASSERT_TRUE(pending.result.packet);
    EXPECT_EQ(pending.result.packet->rows.size(), 2u);

    // Concluding while items are pending: refused, nothing written.
    set.edit();
    set["DSINSPECAUDI"].setValue("Lote inteiro");
    set["DTFINRINSAUD"].setValue(DateTime::now());
    set.post();
    EXPECT_EQ(save(set, kRequest, "001").result.error, "P_ANA_NCONC");
    EXPECT_EQ(text("SELECT DSINSPECAUDI FROM INSPECAUDIT" + where(kRequest, "001")), "<null>");
    EXPECT_EQ(text("SELECT DTFINRINSAUD FROM INSPECAUDIT" + where(kRequest, "001")), "<null>");

    // With every item answered another operator concludes it: recorded as the
    // concluding operator, the names read through joins.
    db() << "UPDATE ITEMINSAUDIT SET IDOPCACEITIN = 'S'" + where(kRequest, "001");
    server_->loginAs("ANALISTA");
    a = save(set, kRequest, "001");
    ASSERT_FALSE(a.result.isError()) << a.result.error;
    EXPECT_EQ(items(a).size(), 2u);
    set.mergeChangeLog();
    auto read = inspections(kRequest);
    ASSERT_EQ(read.rows.size(), 1u);
    auto field = [&](const char* name) { return read.rows[0][read.fieldIndex(name)]; };
    EXPECT_EQ(field("CDOPERADOR").asString(), "DEMO");
    EXPECT_EQ(field("CDOPECONCINS").asString(), "ANALISTA");
    EXPECT_FALSE(field("NMOPERADOR").isNull());
    EXPECT_EQ(field("NMOPERADOR").asString(), text("SELECT NMOPERADOR FROM OPERADOR WHERE CDOPERADOR = 'ANALISTA'"));
    EXPECT_EQ(field("CDARVINSPEC").asString(), "0101");
    EXPECT_EQ(field("NMINSPECAO").asString(), "Físico-Química de Matéria-Prima");
    EXPECT_EQ(field("DSANALISE").asString(), "Físico-Química de Matéria-Prima");
    EXPECT_EQ(field("DSINSPECAUDI").asString(), "Lote inteiro");

    // Clearing the conclusion clears who concluded and makes it pending again.
    set.edit();
    set["DTFINRINSAUD"].clear();
    set["IDINSPCONC"].setValue("S");
    set.post();
    a = save(set, kRequest, "001");
    ASSERT_FALSE(a.result.isError()) << a.result.error;
    set.mergeChangeLog();
    EXPECT_EQ(text("SELECT CDOPECONCINS FROM INSPECAUDIT" + where(kRequest, "001")), "<null>");
    EXPECT_EQ(text("SELECT IDINSPCONC FROM INSPECAUDIT" + where(kRequest, "001")), "P");

    // A deleted inspection takes its items along.
    set.remove();
    a = save(set, kRequest, "001");
    ASSERT_FALSE(a.result.isError()) << a.result.error;
    EXPECT_TRUE(items(a).empty());
    EXPECT_EQ(rows("FROM INSPECAUDIT" + where(kRequest, "001")), 0);
    EXPECT_EQ(rows("FROM ITEMINSAUDIT" + where(kRequest, "001")), 0);
}

TEST_F(InspectionTest, RefusedSavesWriteNothing) {
    // Any change to an inspection of a cancelled request.
    db() << "INSERT INTO INSPECAUDIT (CDFILIAL, NRAUDITORIA, NRINSPECAUDI, CDINSPECAO, DSINSPECAUDI) VALUES ('0001', "
            ":n, '001', '0000000002', 'Antes')",
        soci::use(kCancelled);
    db() << "INSERT INTO ITEMINSAUDIT (CDFILIAL, NRAUDITORIA, NRINSPECAUDI, CDINSPECAO) VALUES ('0001', :n, '001', "
            "'0000000004')",
        soci::use(kCancelled);
    core::RecordSet cancelled;
    load(cancelled, kCancelled);
    appendInspection(cancelled, kCancelled, "002", "0000000002");
    cancelled.post();
    EXPECT_EQ(save(cancelled, kCancelled, "002").result.error, "P_SIT_CANCELADA");
    cancelled.cancelUpdates();
    cancelled.first();
    cancelled.edit();
    cancelled["DSINSPECAUDI"].setValue("Depois");
    cancelled.post();
    EXPECT_EQ(save(cancelled, kCancelled, "001").result.error, "P_SIT_CANCELADA");
    cancelled.cancelUpdates();
    cancelled.first();
    cancelled.remove();
    EXPECT_EQ(save(cancelled, kCancelled, "001").result.error, "P_SIT_CANCELADA");
    EXPECT_EQ(rows("FROM INSPECAUDIT WHERE NRAUDITORIA = '" + kCancelled + "'"), 1);
    EXPECT_EQ(text("SELECT DSINSPECAUDI FROM INSPECAUDIT" + where(kCancelled, "001")), "Antes");
    EXPECT_EQ(rows("FROM ITEMINSAUDIT WHERE NRAUDITORIA = '" + kCancelled + "'"), 1);

    // An analysis of the last level or of the first, and a new inspection already
    // concluded (its new items are all pending).
    for (const char* analysis : {"0000000003", "0000000001", "0000000002"}) {
        core::RecordSet set;
        load(set, kRequest);
        appendInspection(set, kRequest, "002", analysis);
        const bool concluded = std::string(analysis) == "0000000002";
        if (concluded) set["DTFINRINSAUD"].setValue(DateTime::now());
        set.post();
        EXPECT_EQ(save(set, kRequest, "002").result.error, concluded ? "P_ANA_NCONC" : "P_ANALISE_N_CAD") << analysis;
    }
    EXPECT_EQ(rows("FROM INSPECAUDIT" + where(kRequest, "002")), 0);
    EXPECT_EQ(rows("FROM ITEMINSAUDIT" + where(kRequest, "002")), 0);

    core::RecordSet missing;
    load(missing, "9600000099");
    appendInspection(missing, "9600000099", "001", "0000000002");
    missing.post();
    EXPECT_EQ(save(missing, "9600000099", "001").result.error,
              "Pedido de análise 9600000099 da filial 0001 não cadastrado.");
}

}  // namespace

// The reads a request's save relies on, over fixture rows of the demo branch:
// versions in and out of force, where items and inspections stand, whether a lot
// was used after a conclusion, the analysis validity, and the analyses a product has.
#include <string>
#include <vector>

#include "core/datetime.h"
#include "fixture.h"

namespace {

using core::DateTime;

// A string, not a literal: SOCI reads a bound value by address when the statement runs.
const std::string kRequest = "9800000001";

class RequestChecksTest : public ServerSuite {
protected:
    void SetUp() override {
        ServerSuite::SetUp();
        for (const char* table : {"ITEMINSAUDIT", "INSPECAUDIT", "FORMULAANA", "RECURSOANA", "AUDITORIA"})
            db() << std::string("DELETE FROM ") + table + " WHERE NRAUDITORIA LIKE '98%'";
        db() << "DELETE FROM MOVESTOQUE WHERE NRLOTEESTQ = 'LT-USO'";
        db() << "DELETE FROM PRODUTO WHERE CDPRODUTO = 'PRODVAL'";
    }
    static core::CallAnswer ask(const std::string& method, std::vector<core::Variant> args) {
        auto a = testsupport::call(method, std::move(args));
        EXPECT_FALSE(a.result.isError()) << method << ": " << a.result.error;
        return a;
    }
    static std::vector<std::vector<core::Value>> rows(const std::string& method, std::vector<core::Variant> args) {
        auto a = ask(method, std::move(args));
        EXPECT_TRUE(a.result.isPacket()) << method;
        return a.result.packet ? a.result.packet->rows : std::vector<std::vector<core::Value>>{};
    }
    static std::string status() { return ask("GetStatusItens", {"0001", kRequest}).result.value.asString(); }
    static void inspection(const std::string& number, const std::string& analysis, const std::string& concluded,
                           double start, double end) {
        db() << "INSERT INTO INSPECAUDIT (CDFILIAL, NRAUDITORIA, NRINSPECAUDI, CDINSPECAO, IDINSPCONC, DTINIRINSAUD, "
                "DTFINRINSAUD) VALUES ('0001', :n, :i, :a, :c, :s, :e)",
            soci::use(kRequest), soci::use(number), soci::use(analysis), soci::use(concluded), soci::use(start),
            soci::use(end);
    }
    static void item(const std::string& inspection, const std::string& analysis, const std::string& answer) {
        db() << "INSERT INTO ITEMINSAUDIT (CDFILIAL, NRAUDITORIA, NRINSPECAUDI, CDINSPECAO, IDOPCACEITIN) "
                "VALUES ('0001', :n, :i, :a, :o)",
            soci::use(kRequest), soci::use(inspection), soci::use(analysis), soci::use(answer);
    }
    static void setItem(const std::string& analysis, const std::string& answer) {
        db() << "UPDATE ITEMINSAUDIT SET IDOPCACEITIN = :o WHERE NRAUDITORIA = :n AND CDINSPECAO = :a",
            soci::use(answer), soci::use(kRequest), soci::use(analysis);
    }
    static void setInspection(const std::string& number, const std::string& concluded) {
        db() << "UPDATE INSPECAUDIT SET IDINSPCONC = :c WHERE NRAUDITORIA = :n AND NRINSPECAUDI = :i",
            soci::use(concluded), soci::use(kRequest), soci::use(number);
    }
    static void posting(const std::string& number, double when, const std::string& request) {
        db() << "INSERT INTO MOVESTOQUE (CDFILIAL, NRLANCTOESTQ, NRSEQMOVEST, IDTPMOVEST, CDALMOXARIFE, CDLOCALESTOQ, "
                "CDPRODUTO, NRLOTEESTQ, NRSUBLOTE, QTMOVEST, DTMOVEST, NRAUDITORIA) VALUES ('0001', :l, 1, 'S', "
                "'000002', '000001', '0000000001', 'LT-USO', ' ', 1, :d, :r)",
            soci::use(number), soci::use(when), soci::use(request);
    }
    static std::vector<std::string> versions(const std::string& product, DateTime when) {
        auto a = ask("GetVersao", {product, when, "A"});
        EXPECT_EQ(a.out.size(), 1u);
        if (!a.out.empty()) {
            EXPECT_EQ(a.out[0].first, 1);
            EXPECT_EQ(a.out[0].second.value.asDateTime(), when);  // written back as it came
        }
        std::vector<std::string> out;
        if (a.result.packet)
            for (const auto& r : a.result.packet->rows) out.push_back(r[0].asString());
        return out;
    }
};

TEST_F(RequestChecksTest, VersionsInForceCountWholeDaysAtBothEnds) {
    // The 1 L juice's profile: V1 from 400 to 181 days ago, V2 from 180 days ago on.
    const auto all = rows("GetVd_Versao", {"0000000016", "A"});
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0][0].asString(), "V1");
    EXPECT_EQ(all[1][0].asString(), "V2");
    EXPECT_TRUE(all[0][2].asDateTime() < all[1][1].asDateTime());

    const DateTime today = DateTime::now().datePart();
    EXPECT_EQ(versions("0000000016", today.plusDays(0.75)), std::vector<std::string>{"V2"});
    EXPECT_EQ(versions("0000000016", today.plusDays(-200)), std::vector<std::string>{"V1"});
    // V1's last day holds until its end, whatever the hour; V2's first day from midnight.
    EXPECT_EQ(versions("0000000016", today.plusDays(-181 + 0.999)), std::vector<std::string>{"V1"});
    EXPECT_EQ(versions("0000000016", today.plusDays(-180)), std::vector<std::string>{"V2"});
    EXPECT_EQ(versions("0000000016", today.plusDays(-401)), std::vector<std::string>{});

    // The 500 ml juice has a version, none in force: the save refuses a request for it.
    EXPECT_EQ(rows("GetVd_Versao", {"0000000017", "A"}).size(), 1u);
    EXPECT_EQ(versions("0000000017", today), std::vector<std::string>{});
    // A product without versions has none either way; the process counts too.
    EXPECT_TRUE(rows("GetVd_Versao", {"0000000001", "M"}).empty());
    EXPECT_TRUE(rows("GetVd_Versao", {"0000000016", "P"}).empty());
    EXPECT_EQ(testsupport::call("GetVersao", {"0000000016", today}).result.error,
              "Método GetVersao: esperados 3 argumentos, recebidos 2.");
}

TEST_F(RequestChecksTest, StatusFollowsItemsAndInspectionsAndNeverConcludesWhileOneIsOpen) {
    const DateTime day = DateTime::make(2024, 3, 4);
    EXPECT_EQ(status(), "");  // no items
    EXPECT_TRUE(rows("GetInspecAudit", {"0001", kRequest}).empty());
    EXPECT_TRUE(rows("GetVdInsAudPen", {"0001", kRequest}).empty());
    auto dates = rows("GetDtAudit", {"0001", kRequest});
    ASSERT_EQ(dates.size(), 1u);
    EXPECT_TRUE(dates[0][0].isNull());
    EXPECT_TRUE(dates[0][1].isNull());

    inspection("002", "0000000007", "P", day.days + 1.25, day.days + 1.5);
    inspection("001", "0000000002", "P", day.days + 0.25, day.days + 2.75);
    item("002", "0000000010", "P");
    item("002", "0000000008", "P");
    item("001", "0000000004", "P");
    EXPECT_EQ(status(), "1");  // nothing answered yet
    EXPECT_EQ(rows("GetVdInsAudPen", {"0001", kRequest}).size(), 2u);

    setItem("0000000004", "S");
    EXPECT_EQ(status(), "2");  // some answered
    setItem("0000000008", "S");
    setItem("0000000010", "S");
    EXPECT_EQ(status(), "2");  // every item answered, the inspections still open
    setInspection("001", "S");
    EXPECT_EQ(status(), "2");
    setInspection("002", "");  // ended without a verdict: not concluded
    EXPECT_EQ(status(), "2");
    EXPECT_EQ(rows("GetVdInsAudPen", {"0001", kRequest}), (std::vector<std::vector<core::Value>>{{"P"}}));
    setInspection("002", "S");
    EXPECT_EQ(status(), "4");
    EXPECT_TRUE(rows("GetVdInsAudPen", {"0001", kRequest}).empty());
    EXPECT_TRUE(rows("GetVdInsAudCon", {"0001", kRequest}).empty());  // nothing concluded not OK

    setItem("0000000010", "N");
    setInspection("002", "N");
    EXPECT_EQ(status(), "5");
    const auto failed = rows("GetVdInsAudCon", {"0001", kRequest});
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0][0].asFloat(), 1.0);
    // A rejected item while another is still open is no conclusion.
    setItem("0000000004", "P");
    EXPECT_EQ(status(), "2");

    // Inspections in number order with every column; items of one in analysis order.
    const auto inspections = ask("GetInspecAudit", {"0001", kRequest}).result.packet;
    ASSERT_TRUE(inspections);
    ASSERT_EQ(inspections->rows.size(), 2u);
    const int number = inspections->fieldIndex("NRINSPECAUDI"), end = inspections->fieldIndex("DTFINRINSAUD");
    ASSERT_GE(number, 0);
    ASSERT_GE(end, 0);
    EXPECT_EQ(inspections->rows[0][number].asString(), "001");
    EXPECT_EQ(inspections->rows[0][end].asDateTime(), day.plusDays(2.75));
    EXPECT_GE(inspections->fieldIndex("TXINSPECAUDI"), 0);
    EXPECT_TRUE(inspections->fields[inspections->fieldIndex("NRAUDITORIA")].inKey);
    const auto items = rows("GetItemInsAudit", {"0001", kRequest, "002"});
    ASSERT_EQ(items.size(), 2u);
    const auto itemFields = ask("GetItemInsAudit", {"0001", kRequest, "002"}).result.packet->fields;
    int analysis = -1;
    for (size_t i = 0; i < itemFields.size(); ++i)
        if (itemFields[i].name == "CDINSPECAO") analysis = static_cast<int>(i);
    ASSERT_GE(analysis, 0);
    EXPECT_EQ(items[0][analysis].asString(), "0000000008");
    EXPECT_EQ(items[1][analysis].asString(), "0000000010");

    // The earliest start and the latest end of the request's inspections.
    dates = rows("GetDtAudit", {"0001", kRequest});
    ASSERT_EQ(dates.size(), 1u);
    EXPECT_EQ(dates[0][0].asDateTime(), day.plusDays(2.75));
    EXPECT_EQ(dates[0][1].asDateTime(), day.plusDays(0.25));
    // Another branch's request of the same number is another request.
    EXPECT_EQ(ask("GetStatusItens", {"0002", kRequest}).result.value.asString(), "");
}

TEST_F(RequestChecksTest, ALotCountsAsUsedOnlyByPostingsAfterTheConclusionThatNoAnalysisMade) {
    const DateTime concluded = DateTime::make(2024, 3, 4, 10, 30);
    auto used = [&] {
        return ask("Verifica_Lote_Utilizado", {"0001", "LT-USO", "", concluded}).result.value.asString();
    };
    EXPECT_EQ(used(), "NAO");
    posting("9800000001", concluded.days - 0.01, "");  // before the conclusion
    EXPECT_EQ(used(), "NAO");
    posting("9800000002", concluded.days + 0.01, kRequest);  // the analysis' own transfer
    EXPECT_EQ(used(), "NAO");
    posting("9800000003", concluded.days + 2, "");  // a withdrawal after it
    EXPECT_EQ(used(), "SIM");
    EXPECT_EQ(ask("Verifica_Lote_Utilizado", {"0001", "LT-USO", " ", concluded}).result.value.asString(), "SIM");
    // Another sub-lot, another branch, or a later conclusion: not used.
    EXPECT_EQ(ask("Verifica_Lote_Utilizado", {"0001", "LT-USO", "0001", concluded}).result.value.asString(), "NAO");
    EXPECT_EQ(ask("Verifica_Lote_Utilizado", {"0002", "LT-USO", "", concluded}).result.value.asString(), "NAO");
    EXPECT_EQ(ask("Verifica_Lote_Utilizado", {"0001", "LT-USO", "", concluded.plusDays(3)}).result.value.asString(),
              "NAO");
}

TEST_F(RequestChecksTest, ValidityCountsThirtyDaysPerWholeUnitFromTheDay) {
    auto validity = [&](const std::string& product, DateTime from) {
        auto r = rows("verificaValidade", {"0001", "0001", "MXA", "AC240301", "", "Análise", product, from});
        EXPECT_EQ(r.size(), 1u);
        return r.empty() ? std::vector<core::Value>{} : r[0];
    };
    // Six units: 180 days, the time of day dropped.
    auto six = validity("0000000001", DateTime::make(2024, 1, 10, 15, 30));
    ASSERT_EQ(six.size(), 2u);
    EXPECT_EQ(six[0].asString(), "08/07/2024");
    EXPECT_EQ(six[1].asDateTime(), DateTime::make(2024, 7, 8));
    // A fraction of a unit does not count; no unit or no product: the day itself.
    db() << "INSERT INTO PRODUTO (CDPRODUTO, CDARVPROD, NMPRODUTO, NRDIASVALANA) "
            "VALUES ('PRODVAL', '9999999999', 'Produto de validade', 2.9)";
    EXPECT_EQ(validity("PRODVAL", DateTime::make(2024, 12, 15))[0].asString(), "13/02/2025");
    db() << "UPDATE PRODUTO SET NRDIASVALANA = NULL WHERE CDPRODUTO = 'PRODVAL'";
    EXPECT_EQ(validity("PRODVAL", DateTime::make(2024, 12, 15, 9))[0].asString(), "15/12/2024");
    EXPECT_EQ(validity("NAOEXISTE", DateTime::make(2024, 12, 15))[1].asDateTime(), DateTime::make(2024, 12, 15));
}

TEST_F(RequestChecksTest, ProcessAnalysesAndCompatibilityLots) {
    // The 1 L juice's finished-product analyses, active ones only, with their tree codes.
    const auto juice = rows("getVerifProcesso", {"0000000016", "A"});
    ASSERT_FALSE(juice.empty());
    for (const auto& r : juice) {
        EXPECT_EQ(r[0].asString(), "0000000016");
        EXPECT_EQ(r[2].asString(), "A");
        EXPECT_FALSE(r[3].asString().empty());
    }
    EXPECT_TRUE(rows("getVerifProcesso", {"0000000016", "M"}).empty());
    db() << "UPDATE PRODINSPEC SET IDSITPRODINSP = 'I' WHERE CDPRODUTO = '0000000002'";
    EXPECT_TRUE(rows("getVerifProcesso", {"0000000002", "M"}).empty());
    db() << "UPDATE PRODINSPEC SET IDSITPRODINSP = 'A' WHERE CDPRODUTO = '0000000002'";
    EXPECT_EQ(rows("getVerifProcesso", {"0000000002", "M"}).size(), 3u);

    // Formula rows with a lot count; one without does not; always one row.
    auto samples = [&] {
        auto r = rows("getVerifCompatibilidade", {"0001", kRequest});
        EXPECT_EQ(r.size(), 1u);
        return r.empty() ? -1.0 : r[0][0].asFloat();
    };
    EXPECT_EQ(samples(), 0.0);
    db() << "INSERT INTO FORMULAANA (CDFILIAL, NRSEQFORMULA, NRAUDITORIA, CDINSPECAO, NRLOTEESTQ) "
            "VALUES ('0001', 98002, '9800000001', '0000000008', NULL)";
    EXPECT_EQ(samples(), 0.0);
    db() << "INSERT INTO FORMULAANA (CDFILIAL, NRSEQFORMULA, NRAUDITORIA, CDINSPECAO, NRLOTEESTQ) "
            "VALUES ('0001', 98001, '9800000001', '0000000008', 'FP240201')";
    EXPECT_EQ(samples(), 1.0);

    // The formula rows and resources of one analysis of the request, in key order.
    db() << "INSERT INTO FORMULAANA (CDFILIAL, NRSEQFORMULA, NRAUDITORIA, CDINSPECAO, NRLOTEESTQ) "
            "VALUES ('0001', 98003, '9800000001', '0000000010', 'AC240115')";
    const auto formula = rows("getFormulaAuditAna", {"0001", kRequest, "0000000008"});
    ASSERT_EQ(formula.size(), 2u);
    EXPECT_EQ(formula[0][1].asInteger(), 98001);
    EXPECT_EQ(formula[1][1].asInteger(), 98002);
    db() << "INSERT INTO RECURSOANA (CDFILIAL, NRSEQRECURANA, NRAUDITORIA, CDINSPECAO, IDTPRECURSO, DTINIRECUR) "
            "VALUES ('0001', 98001, '9800000001', '0000000008', 'H', 45000.5)";
    const auto resources = ask("getRecurAuditAna", {"0001", kRequest, "0000000008"}).result.packet;
    ASSERT_TRUE(resources);
    ASSERT_EQ(resources->rows.size(), 1u);
    const int start = resources->fieldIndex("DTINIRECUR");
    ASSERT_GE(start, 0);
    EXPECT_EQ(resources->fields[start].type, core::FieldType::DateTime);
    EXPECT_EQ(resources->rows[0][start].asDateTime(), DateTime(45000.5));
    EXPECT_TRUE(rows("getRecurAuditAna", {"0001", kRequest, "0000000010"}).empty());
}

}  // namespace

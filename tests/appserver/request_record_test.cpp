// The request record declared once: the list answered from it, names read from
// their own tables, and a save that writes what the request owns.
#include "records/request_record.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "appserver/catalog.h"
#include "appserver/dialect/dialect.h"
#include "core/recordset.h"
#include "fixture.h"
#include "open_criteria.h"
#include "records/record_set.h"

namespace {

class RequestRecordTest : public ServerSuite {
protected:
    static void SetUpTestSuite() {
        ServerSuite::SetUpTestSuite();
        server_->server().methods().add("Teste", "SalvarPedido", [](appserver::Call& c) -> core::Variant {
            c.expect({appserver::Arg::Packet});
            return appserver::applyDelta(c.db(), c.catalog(), records::requestRecord(), c.packet(0));
        });
        server_->server().methods().add("Teste", "SalvarPedidoSemDeclaracao", [](appserver::Call& c) -> core::Variant {
            c.expect({appserver::Arg::Packet});
            return appserver::applyDelta(c.db(), c.catalog(), "AUDITORIA", c.packet(0));
        });
    }

    // Every request of the demo branch.
    static core::Packet requestList() {
        auto a = testsupport::call("GetAuditoria", openCriteria("0001"));
        EXPECT_FALSE(a.result.isError()) << a.result.error;
        return a.result.packet ? *a.result.packet : core::Packet{};
    }
    static std::string text(const std::string& sql) {
        std::string out;
        soci::indicator ind = soci::i_ok;
        db() << sql, soci::into(out, ind);
        return ind == soci::i_ok ? out : std::string();
    }
};

TEST_F(RequestRecordTest, TheTableHoldsExactlyTheStoredFields) {
    appserver::Catalog catalog(appserver::dialectOf(db()));
    const auto& table = catalog.table(db(), "AUDITORIA");
    for (const auto& f : records::requestRecord().fields())
        EXPECT_EQ(table.column(f.name) != nullptr, f.stored()) << f.name;
}

TEST_F(RequestRecordTest, RenamedProductAndSectorShowTheirNewNamesInTheList) {
    core::RecordSet list("cdsAuditoria");
    records::declareSet(list, records::requestRecord());
    list.setData(requestList());
    ASSERT_GT(list.recordCount(), 0);
    ASSERT_TRUE(list.locate("NRAUDITORIA", "0000000001"));
    const std::string product = list["CDPRODUTO"].asString(), sector = list["CDSETEXECAUD"].asString();
    ASSERT_FALSE(product.empty());
    ASSERT_FALSE(sector.empty());
    EXPECT_EQ(list["NMPRODUTO"].asString(), text("SELECT NMPRODUTO FROM PRODUTO WHERE CDPRODUTO = '" + product + "'"));

    const std::string oldProduct = list["NMPRODUTO"].asString(), oldSector = list["NMSETOR"].asString();
    db() << "UPDATE PRODUTO SET NMPRODUTO = 'Produto Renomeado' WHERE CDPRODUTO = '" + product + "'";
    db() << "UPDATE SETOR SET NMSETOR = 'Setor Renomeado' WHERE CDSETOR = '" + sector + "'";
    list.setData(requestList());
    ASSERT_TRUE(list.locate("NRAUDITORIA", "0000000001"));
    EXPECT_EQ(list["NMPRODUTO"].asString(), "Produto Renomeado");
    EXPECT_EQ(list["NMSETOR"].asString(), "Setor Renomeado");
    db() << "UPDATE PRODUTO SET NMPRODUTO = :n WHERE CDPRODUTO = :p", soci::use(oldProduct), soci::use(product);
    db() << "UPDATE SETOR SET NMSETOR = :n WHERE CDSETOR = :s", soci::use(oldSector), soci::use(sector);
}

// A period's list is its requests in number order, whether the period holds nearly
// the whole branch (read in the key's order, no sort) or part of it (read through the
// date index); whole days, the last one included.
TEST_F(RequestRecordTest, APeriodsListIsItsRequestsInNumberOrder) {
    auto listed = [](double from, double to) {
        auto a = testsupport::call("GetAuditoria", openCriteria("0001", {{"dtDTINI", core::DateTime(from)},
                                                                         {"dtDTFIM", core::DateTime(to)}}));
        EXPECT_FALSE(a.result.isError()) << a.result.error;
        std::vector<std::string> numbers;
        if (!a.result.packet) return numbers;
        const int at = a.result.packet->fieldIndex("NRAUDITORIA");
        for (const auto& row : a.result.packet->rows) numbers.push_back(row.at(at).asString());
        return numbers;
    };
    auto stored = [](double from, double to) {
        std::vector<std::string> numbers;
        soci::rowset<std::string> rs =
            (db().prepare << "SELECT NRAUDITORIA FROM AUDITORIA WHERE CDFILIAL = '0001' AND DTINCLAUDIT >= :a AND "
                             "DTINCLAUDIT < :b ORDER BY NRAUDITORIA",
             soci::use(std::floor(from)), soci::use(std::floor(to) + 1));
        for (const auto& n : rs) numbers.push_back(n);
        return numbers;
    };
    double first = 0, last = 0;
    int all = 0;
    db() << "SELECT MIN(DTINCLAUDIT), MAX(DTINCLAUDIT), COUNT(*) FROM AUDITORIA WHERE CDFILIAL = '0001'",
        soci::into(first), soci::into(last), soci::into(all);
    ASSERT_GT(last - first, 10);
    const double middle = std::floor((first + last) / 2);
    for (const auto& [from, to] : std::vector<std::pair<double, double>>{
             {first, last}, {first - 30, last + 30}, {first, middle}, {middle, last}, {middle, middle}, {last + 1, last + 9}}) {
        const auto numbers = listed(from, to);
        EXPECT_EQ(numbers, stored(from, to)) << "period " << from << " to " << to;
        EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
    }
    EXPECT_EQ(static_cast<int>(listed(first, last).size()), all);
    EXPECT_TRUE(listed(last + 1, last + 9).empty());
}

TEST_F(RequestRecordTest, SavingWritesStoredFieldsAndLeavesLookedUpOnes) {
    core::RecordSet list("cdsAuditoria");
    records::declareSet(list, records::requestRecord());
    list.setData(requestList());
    ASSERT_TRUE(list.locate("NRAUDITORIA", "0000000002"));
    const std::string product = list["CDPRODUTO"].asString();
    const std::string productName = list["NMPRODUTO"].asString();
    const std::string description = list["DSREFEAUDIT"].asString();

    list.edit();
    list["DSREFEAUDIT"].setValue("Revisado pelo laboratório");
    list["NMPRODUTO"].setValue("Nome que não se grava");
    list.post();
    core::Packet delta = list.delta();
    ASSERT_EQ(delta.delta.size(), 1u);

    // Without the declaration the looked-up names are refused: the table no longer has them.
    auto refused = testsupport::call("SalvarPedidoSemDeclaracao", {core::Variant(delta)}, "Teste");
    EXPECT_NE(refused.result.error.find("não existe na tabela AUDITORIA."), std::string::npos) << refused.result.error;

    // The key comes from the declaration, not from what the packet claims.
    for (auto& f : delta.fields) f.inKey = false;
    auto saved = testsupport::call("SalvarPedido", {core::Variant(delta)}, "Teste");
    ASSERT_FALSE(saved.result.isError()) << saved.result.error;
    EXPECT_EQ(saved.result.value.asInteger(), 1);
    EXPECT_EQ(text("SELECT DSREFEAUDIT FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000002'"),
              "Revisado pelo laboratório");
    int revised = 0;
    db() << "SELECT COUNT(*) FROM AUDITORIA WHERE DSREFEAUDIT = 'Revisado pelo laboratório'", soci::into(revised);
    EXPECT_EQ(revised, 1);
    EXPECT_EQ(text("SELECT NMPRODUTO FROM PRODUTO WHERE CDPRODUTO = '" + product + "'"), productName);
    list.setData(requestList());
    ASSERT_TRUE(list.locate("NRAUDITORIA", "0000000002"));
    EXPECT_EQ(list["NMPRODUTO"].asString(), productName);
    EXPECT_EQ(list["DSREFEAUDIT"].asString(), "Revisado pelo laboratório");

    // Saving the same change again finds the description changed by then.
    auto stale = testsupport::call("SalvarPedido", {core::Variant(delta)}, "Teste");
    EXPECT_EQ(stale.result.error, appserver::kRowChanged);

    // A change that does not name the whole key is refused, not spread over the branch.
    core::Packet keyless = delta;
    const int number = keyless.fieldIndex("NRAUDITORIA");
    keyless.fields.erase(keyless.fields.begin() + number);
    for (auto& c : keyless.delta) {
        c.oldValues.erase(c.oldValues.begin() + number);
        c.newValues.erase(c.newValues.begin() + number);
    }
    auto keyRefused = testsupport::call("SalvarPedido", {core::Variant(keyless)}, "Teste");
    EXPECT_EQ(keyRefused.result.error, "Pacote de dados sem campos-chave para a tabela AUDITORIA.");

    db() << "UPDATE AUDITORIA SET DSREFEAUDIT = :d WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000002'",
        soci::use(description);
}

}  // namespace

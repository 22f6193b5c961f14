// What the conclusion and the release read and write: the production order's other
// analyses, the order, the products made from the analysed one, who released the
// analysis, and the analysed product's description.
#include <string>

#include "fixture.h"

namespace {

int rows(const core::CallAnswer& a) {
    EXPECT_FALSE(a.result.isError()) << a.result.error;
    return a.result.packet ? static_cast<int>(a.result.packet->rows.size()) : -1;
}

class Conclusion : public ServerSuite {
protected:
    // One value as stored; "<none>" for no row or a null.
    static std::string stored(const std::string& sql) {
        std::string v;
        soci::indicator ind = soci::i_ok;
        soci::statement st = (db().prepare << sql, soci::into(v, ind));
        st.execute();
        return st.fetch() && ind == soci::i_ok ? v : std::string("<none>");
    }
};

TEST_F(Conclusion, TheProductionOrderItsPendingAnalysesAndTheProductsMadeFromIt) {
    // Order 1003 has request 21 running; order 995's request is concluded.
    EXPECT_EQ(rows(testsupport::call("GetAudPenOp", {"0001", "0000001003", "1"})), 1);
    EXPECT_EQ(rows(testsupport::call("GetAudPenOp", {"0001", "0000000995", "1"})), 0);
    EXPECT_EQ(rows(testsupport::call("GetOrdProd", {"0001", "0000001003", "1"})), 1);
    EXPECT_EQ(rows(testsupport::call("GetOrdProd", {"0001", "0000001003", "2"})), 0);
    EXPECT_EQ(rows(testsupport::call("GetOrdProd", {"0002", "0000001003", "1"})), 0);

    // The bulk juice fills the 1 L and 500 ml packs, each with six units of validity.
    const auto made = testsupport::call("GetProdEsto", {"0000000015"});
    ASSERT_EQ(rows(made), 2);
    const auto& p = *made.result.packet;
    EXPECT_EQ(p.rows[0][p.fieldIndex("CDPRODUTO")].asString(), "0000000016");
    EXPECT_EQ(p.rows[1][p.fieldIndex("VRFATOCONVPR")].asFloat(), 0.5);
    EXPECT_EQ(p.rows[1][p.fieldIndex("NRDIASVALANA")].asFloat(), 6);
    EXPECT_EQ(rows(testsupport::call("GetProdEsto", {"0000000002"})), 0);
}

TEST_F(Conclusion, TheReleaseRecordsAnOperatorWhoHoldsItAndTheDescriptionFollowsTheRequest) {
    const std::string running = "0000000003", concluded = "0000000004", cancelled = "0000000008";
    auto a = testsupport::call("SetOperLibAud", {"ANALISTA", "0001", running});
    EXPECT_EQ(a.result.error, "Operador ANALISTA não tem permissão para liberar a análise.");
    EXPECT_EQ(testsupport::call("SetOperLibAud", {"SUPERVISOR", "0001", cancelled}).result.error, "P_SIT_CANCELADA");
    EXPECT_EQ(stored("SELECT CDOPELIBAUDI FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + running + "'"),
              "<none>");
    a = testsupport::call("SetOperLibAud", {"SUPERVISOR", "0001", running});
    ASSERT_FALSE(a.result.isError()) << a.result.error;
    EXPECT_EQ(stored("SELECT CDOPELIBAUDI FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + running + "'"),
              "SUPERVISOR");

    const auto describe = [](const std::string& request, const std::string& op, const std::string& text) {
        return testsupport::call("SetDsProd", {"0001", request, "0000000005", "0000000009", "M", op, text});
    };
    const std::string sql =
        "SELECT DSINSPROD FROM DSINSPPROD WHERE CDFILIAL = '0001' AND CDINSPECAO = '0000000009' AND NRAUDITORIA = '" +
        running + "'";
    ASSERT_FALSE(describe(running, "I", "Cor âmbar").result.isError());
    ASSERT_FALSE(describe(running, "I", "Cor âmbar, sem grumos").result.isError());  // replaces it
    EXPECT_EQ(stored(sql), "Cor âmbar, sem grumos");
    EXPECT_EQ(describe(running, "X", "").result.error, "Operação inválida para a descrição do produto: X.");
    EXPECT_EQ(describe(concluded, "I", "Depois").result.error,
              "A descrição do produto só pode ser alterada em análise pendente ou em andamento.");
    ASSERT_FALSE(describe(running, "D", "").result.isError());
    EXPECT_EQ(stored(sql), "<none>");
}

}  // namespace

// The header's look-up of the other open requests of a production order.
#include "fixture.h"

namespace {

class RequestLookupTest : public ServerSuite {
protected:
    void SetUp() override {
        ServerSuite::SetUp();
        db() << "DELETE FROM AUDITORIA WHERE NRORDPROD = '7770000001'";
    }
    static void request(const std::string& branch, const std::string& number, const std::string& status) {
        db() << "INSERT INTO AUDITORIA (CDFILIAL, NRAUDITORIA, IDSTATUSAUDI, NRORDPROD, NRSUBORDPROD) VALUES ('" +
                    branch + "', '" + number + "', '" + status + "', '7770000001', '1')";
    }
    static std::vector<std::string> others(std::vector<core::Variant> args) {
        auto a = testsupport::call("getUltAnalise", std::move(args));
        EXPECT_TRUE(a.result.isPacket()) << a.result.error;
        std::vector<std::string> out;
        if (!a.result.packet) return out;
        for (const auto& r : a.result.packet->rows) out.push_back(r[0].asString() + "/" + r[1].asString());
        return out;
    }
};

TEST_F(RequestLookupTest, OtherOpenRequestsOfAnOrderCountOnlyInTheGivenBranch) {
    request("0001", "9900000001", "1");  // the asking request
    request("0002", "9900000002", "2");  // same order number, another branch
    request("0001", "9900000003", "4");  // concluded: not open

    // Order numbers are per branch: another branch's open request is no other analysis here.
    EXPECT_EQ(others({"7770000001", "1", "9900000001", "0001"}), std::vector<std::string>{});
    EXPECT_EQ(others({"7770000001", "1", "9900000005", "0002"}), std::vector<std::string>{"0002/9900000002"});

    // An open one of the same branch does count, pending or in progress.
    request("0001", "9900000004", "2");
    EXPECT_EQ(others({"7770000001", "1", "9900000001", "0001"}), std::vector<std::string>{"0001/9900000004"});

    // Without a branch every branch's requests count, as before.
    EXPECT_EQ(others({"7770000001", "1", "9900000001"}),
              (std::vector<std::string>{"0001/9900000004", "0002/9900000002"}));
    EXPECT_EQ(testsupport::call("getUltAnalise", {"7770000001"}).result.error,
              "Método getUltAnalise: esperados de 3 a 4 argumentos, recebidos 1.");
}

}  // namespace

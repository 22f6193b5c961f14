// Server numbering: unique per branch under concurrent callers.
#include <set>
#include <thread>

#include "fixture.h"

namespace {

class NumberingTest : public ServerSuite {};

TEST_F(NumberingTest, EightThreadsOfTwoHundredGetDistinctNumbers) {
    constexpr int kThreads = 8, kEach = 200;
    std::vector<std::vector<std::string>> got(kThreads);
    std::vector<std::string> errors(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                auto a = testsupport::callAt(port(), "GetPrxAuditoria", {"0001"});
                if (a.result.isError()) {
                    errors[t] = a.result.error;
                    return;
                }
                got[t].push_back(a.result.value.asString());
            }
        });
    }
    for (auto& th : threads) th.join();
    std::set<std::string> all;
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(errors[t], "");
        // Each caller sees its own numbers rising.
        EXPECT_TRUE(std::is_sorted(got[t].begin(), got[t].end()));
        all.insert(got[t].begin(), got[t].end());
    }
    EXPECT_EQ(all.size(), static_cast<size_t>(kThreads * kEach));
    for (const auto& n : all) EXPECT_EQ(n.size(), 10u) << n;

    // Numbers start after the requests already in the data, and branches count apart.
    int below = 0;
    soci::indicator ind;
    std::string highest;
    db() << "SELECT MAX(NRAUDITORIA) FROM AUDITORIA WHERE CDFILIAL = '0001'", soci::into(highest, ind);
    if (ind == soci::i_ok)
        for (const auto& n : all) below += n <= highest;
    EXPECT_EQ(below, 0);
    auto other = testsupport::call("GetPrxAuditoria", {"0009"});
    EXPECT_EQ(other.result.value.asString(), "0000000001");
}

TEST_F(NumberingTest, InspectionsCountPerRequestAndRowNumbersPerBranch) {
    auto next = [](const char* request) {
        auto a = testsupport::call("GetPrxInspecAudit", {"0002", request});
        EXPECT_FALSE(a.result.isError()) << a.result.error;
        return a.result.packet ? a.result.packet->rows.at(0).at(0).asString() : std::string();
    };
    EXPECT_EQ(next("8888888801"), "001");
    EXPECT_EQ(next("8888888801"), "002");
    EXPECT_EQ(next("8888888802"), "001");

    auto f1 = testsupport::call("prxFormulaAna", {"0002"}).result.value.asFloat();
    auto f2 = testsupport::call("prxFormulaAna", {"0002"}).result.value.asFloat();
    EXPECT_EQ(f2, f1 + 1);
    auto r1 = testsupport::call("prxRecursoAna", {"0002"}).result.value.asFloat();
    EXPECT_GT(r1, 0);
}

}  // namespace

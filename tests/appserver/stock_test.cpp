// Stock moves: never below zero, to the thousandth, and no unit lost when many
// calls move one lot at once.
#include "appserver/stock/stock.h"

#include <cstdio>
#include <map>
#include <thread>

#include "core/quantity.h"
#include "fixture.h"

namespace {

using appserver::Arg;
namespace stock = appserver::stock;

const stock::Lot kLot{"0001", "PRODESTQ", "LT-ESTQ", " "};
const stock::Place kA{"000901", "000001"}, kB{"000902", "000001"};

stock::Place placeOf(const std::string& store) { return store == kA.store ? kA : kB; }

class StockTest : public ServerSuite {
public:
    static void SetUpTestSuite() {
        ServerSuite::SetUpTestSuite();
        auto& methods = server_->server().methods();
        // Moves of the test lot between stores A and B, each call one transaction;
        // with a second quantity, a second move under the same posting number.
        methods.add("Teste", "Mover", [](appserver::Call& c) -> core::Variant {
            c.expect({Arg::Text, Arg::Text, Arg::Number, Arg::Number}, 1);
            stock::Posting posting;
            posting.operatorCode = "DEMO";
            posting.description = "Transferência de teste";
            posting.number =
                stock::move(c.db(), c.dialect(), kLot, placeOf(c.text(0)), placeOf(c.text(1)), c.number(2), posting);
            if (c.argCount() > 3)
                stock::move(c.db(), c.dialect(), kLot, placeOf(c.text(0)), placeOf(c.text(1)), c.number(3), posting);
            return posting.number;
        });
        // A move under the caller's posting number, so concurrent moves meet only on
        // the positions (the branch's sequence would make them queue).
        methods.add("Teste", "MoverNumerado", [](appserver::Call& c) -> core::Variant {
            c.expect({Arg::Text, Arg::Text, Arg::Number, Arg::Text});
            stock::Posting posting;
            posting.number = c.text(3);
            return stock::move(c.db(), c.dialect(), kLot, placeOf(c.text(0)), placeOf(c.text(1)), c.number(2), posting);
        });
        methods.add("Teste", "Entrada", [](appserver::Call& c) -> core::Variant {
            c.expect({Arg::Text, Arg::Number});
            return stock::receive(c.db(), c.dialect(), kLot, placeOf(c.text(0)), c.number(1));
        });
        methods.add("Teste", "Saida", [](appserver::Call& c) -> core::Variant {
            c.expect({Arg::Text, Arg::Number});
            return stock::withdraw(c.db(), c.dialect(), kLot, placeOf(c.text(0)), c.number(1));
        });
    }

protected:
    void SetUp() override {
        ServerSuite::SetUp();
        db() << "DELETE FROM POSESTOQUE WHERE CDPRODUTO = 'PRODESTQ'";
        db() << "DELETE FROM MOVESTOQUE WHERE CDPRODUTO = 'PRODESTQ'";
    }
    static void place(const stock::Place& p, double quantity) {
        db() << "INSERT INTO POSESTOQUE (CDFILIAL, CDALMOXARIFE, CDLOCALESTOQ, CDPRODUTO, NRLOTEESTQ, NRSUBLOTE, "
                "QTESTOQUE) VALUES ('0001', :a, :l, 'PRODESTQ', 'LT-ESTQ', ' ', :q)",
            soci::use(p.store), soci::use(p.location), soci::use(quantity);
    }
    // The store's position; -1 when it has none.
    static double position(const stock::Place& p) {
        double q = -1;
        soci::indicator ind = soci::i_null;
        db() << "SELECT QTESTOQUE FROM POSESTOQUE WHERE CDFILIAL = '0001' AND CDALMOXARIFE = :a AND "
                "CDLOCALESTOQ = :l AND CDPRODUTO = 'PRODESTQ' AND NRLOTEESTQ = 'LT-ESTQ' AND NRSUBLOTE = ' '",
            soci::use(p.store), soci::use(p.location), soci::into(q, ind);
        return ind == soci::i_ok ? q : -1;
    }
    // Positions and postings of the test lot, as text, to compare before and after.
    static std::vector<std::string> snapshot() {
        std::vector<std::string> out;
        soci::rowset<soci::row> positions =
            (db().prepare << "SELECT CDALMOXARIFE, QTESTOQUE FROM POSESTOQUE WHERE CDPRODUTO = 'PRODESTQ' "
                             "ORDER BY CDALMOXARIFE");
        for (const auto& r : positions) out.push_back(r.get<std::string>(0) + "=" + std::to_string(r.get<double>(1)));
        soci::rowset<soci::row> moves =
            (db().prepare << "SELECT NRLANCTOESTQ, NRSEQMOVEST, IDTPMOVEST, CDALMOXARIFE, QTMOVEST FROM MOVESTOQUE "
                             "WHERE CDPRODUTO = 'PRODESTQ' ORDER BY NRLANCTOESTQ, NRSEQMOVEST");
        for (const auto& r : moves)
            out.push_back(r.get<std::string>(0) + "/" + r.get<std::string>(2) + "/" + r.get<std::string>(3) + "/" +
                          std::to_string(r.get<double>(4)));
        return out;
    }
    static core::CallAnswer move(std::vector<core::Variant> args) {
        return testsupport::callAt(port(), "Mover", std::move(args), "Teste");
    }
};

TEST_F(StockTest, AMoveThatWouldGoBelowZeroChangesNothing) {
    place(kA, 10);
    ASSERT_FALSE(move({"000901", "000902", 4.0}).result.isError());
    const auto before = snapshot();
    ASSERT_EQ(before.size(), 4u);  // two positions, one out row and one in row

    // More than the store holds, from a store with no position, nothing, less than nothing.
    const auto refused = move({"000901", "000902", 6.002});
    EXPECT_EQ(refused.result.error.rfind(stock::kShortage, 0), 0u) << refused.result.error;
    EXPECT_NE(refused.result.error.find("almoxarifado 000901"), std::string::npos) << refused.result.error;
    EXPECT_EQ(testsupport::callAt(port(), "Saida", {"000902", 4.001}, "Teste").result.error.rfind(stock::kShortage, 0),
              0u);
    db() << "DELETE FROM POSESTOQUE WHERE CDPRODUTO = 'PRODESTQ' AND CDALMOXARIFE = '000902'";
    EXPECT_EQ(move({"000902", "000901", 1.0}).result.error.rfind(stock::kShortage, 0), 0u);
    place(kB, 4);
    for (double q : {0.0, -1.0, 0.0004})
        EXPECT_EQ(move({"000901", "000902", q}).result.error,
                  "Quantidade a movimentar no estoque deve ser maior que zero.")
            << q;
    // A first move that fits and a second that does not, in one call: neither stays.
    EXPECT_EQ(move({"000901", "000902", 5.0, 2.0}).result.error.rfind(stock::kShortage, 0), 0u);
    EXPECT_EQ(snapshot(), before);

    // Both moves of one call share its posting number, numbered in sequence.
    const auto posted = move({"000902", "000901", 1.0, 2.0});
    ASSERT_FALSE(posted.result.isError()) << posted.result.error;
    int rows = 0, last = 0;
    const std::string number = posted.result.value.asString();
    db() << "SELECT COUNT(*), MAX(NRSEQMOVEST) FROM MOVESTOQUE WHERE NRLANCTOESTQ = :n AND CDFILIAL = '0001'",
        soci::use(number), soci::into(rows), soci::into(last);
    EXPECT_EQ(rows, 4);
    EXPECT_EQ(last, 4);
    EXPECT_DOUBLE_EQ(position(kA), 9);
    EXPECT_DOUBLE_EQ(position(kB), 1);
}

TEST_F(StockTest, QuantitiesCountToTheThousandth) {
    place(kA, 0.3);
    const auto first = move({"000901", "000902", 0.1});
    const auto second = move({"000901", "000902", 0.2});
    ASSERT_FALSE(first.result.isError()) << first.result.error;
    ASSERT_FALSE(second.result.isError()) << second.result.error;
    EXPECT_NE(first.result.value.asString(), second.result.value.asString());
    EXPECT_EQ(first.result.value.asString().size(), 10u);
    EXPECT_EQ(position(kA), 0.0);  // emptied, not a binary residue
    EXPECT_EQ(position(kB), 0.3);  // 0.1 + 0.2 without the binary residue
    EXPECT_EQ(move({"000901", "000902", 0.001}).result.error.rfind(stock::kShortage, 0), 0u);

    // An entry with no source creates the position; a withdrawal takes it out again.
    db() << "DELETE FROM POSESTOQUE WHERE CDPRODUTO = 'PRODESTQ' AND CDALMOXARIFE = '000901'";
    ASSERT_FALSE(testsupport::callAt(port(), "Entrada", {"000901", 2.5}, "Teste").result.isError());
    ASSERT_FALSE(testsupport::callAt(port(), "Saida", {"000901", 2.4996}, "Teste").result.isError());
    EXPECT_EQ(position(kA), 0.0);
    int in = 0, out = 0;
    db() << "SELECT COUNT(*) FROM MOVESTOQUE WHERE CDPRODUTO = 'PRODESTQ' AND IDTPMOVEST = 'E'", soci::into(in);
    db() << "SELECT COUNT(*) FROM MOVESTOQUE WHERE CDPRODUTO = 'PRODESTQ' AND IDTPMOVEST = 'S'", soci::into(out);
    EXPECT_EQ(in, 3);
    EXPECT_EQ(out, 3);
}

TEST_F(StockTest, EightCallersMovingOneLotBackAndForthLoseNothing) {
    place(kA, 100);
    constexpr int kThreads = 8, kEach = 25;
    std::vector<int> moved(kThreads, 0);
    std::vector<std::string> errors(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                const bool there = (t + i) % 2 == 0;
                const double q = 0.1 * (1 + (t * kEach + i) % 7) + 0.125 * (t % 3);
                char number[32];
                std::snprintf(number, sizeof number, "8%01d%08d", t, i);
                auto a = testsupport::callAt(
                    port(), "MoverNumerado",
                    {there ? "000901" : "000902", there ? "000902" : "000901", q, std::string(number)}, "Teste");
                if (!a.result.isError()) ++moved[t];
                // Running short is a fair refusal; anything else is a fault.
                else if (a.result.error.rfind(stock::kShortage, 0) != 0)
                    errors[t] = a.result.error;
            }
        });
    }
    for (auto& th : threads) th.join();
    int total = 0;
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(errors[t], "") << "thread " << t;
        total += moved[t];
    }
    EXPECT_GT(total, kThreads * kEach / 2);

    // The positions still add up to what there was, neither below zero.
    const double a = position(kA), b = position(kB);
    EXPECT_TRUE(core::sameQuantity(a + b, 100)) << a << " + " << b;
    EXPECT_GE(core::compareQuantity(a, 0), 0);
    EXPECT_GE(core::compareQuantity(b, 0), 0);

    // Every posting is one out and one in of the same quantity, and the rows of each
    // store add up to its position.
    std::map<std::string, double> perPosting;
    std::map<std::string, int> rowsPerPosting;
    double netA = 0, netB = 0;
    soci::rowset<soci::row> moves = (db().prepare << "SELECT NRLANCTOESTQ, IDTPMOVEST, CDALMOXARIFE, QTMOVEST "
                                                     "FROM MOVESTOQUE WHERE CDPRODUTO = 'PRODESTQ'");
    for (const auto& r : moves) {
        const double q = r.get<double>(3) * (r.get<std::string>(1) == "E" ? 1 : -1);
        perPosting[r.get<std::string>(0)] += q;
        ++rowsPerPosting[r.get<std::string>(0)];
        (r.get<std::string>(2) == kA.store ? netA : netB) += q;
    }
    EXPECT_EQ(static_cast<int>(perPosting.size()), total);
    for (const auto& [posting, net] : perPosting) {
        EXPECT_TRUE(core::sameQuantity(net, 0)) << posting;
        EXPECT_EQ(rowsPerPosting[posting], 2) << posting;
    }
    EXPECT_TRUE(core::sameQuantity(100 + netA, a)) << netA;
    EXPECT_TRUE(core::sameQuantity(netB, b)) << netB;
}

}  // namespace

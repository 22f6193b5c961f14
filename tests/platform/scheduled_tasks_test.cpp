#include <gtest/gtest.h>
#include <soci/soci.h>

#include <cmath>
#include <set>
#include <string>

#include "core/datetime.h"
#include "core/error.h"
#include "platform/scripted_host.h"
#include "platform/services.h"
#include "support/test_server.h"

namespace {

struct ScheduledTasks : ::testing::Test {
    platform::ScriptedHost script;
    std::unique_ptr<testsupport::TestServer> server;
    std::unique_ptr<soci::session> db;

    void SetUp() override {
        server = std::make_unique<testsupport::TestServer>(true);
        db = std::make_unique<soci::session>(server->server().backendName(), server->server().connectString());
        platform::setHost(&script);
    }
    void TearDown() override {
        platform::setHost(nullptr);
        db.reset();
        server.reset();
    }
    int count(const std::string& where) {
        int n = 0;
        *db << "SELECT COUNT(*) FROM AUDITORIA WHERE " + where, soci::into(n);
        return n;
    }
    // Days from today to the plan's next date.
    int nextInDays(const std::string& branch, const std::string& plan) {
        double next = 0;
        *db << "SELECT DTPROXANA FROM PLANOANALISE WHERE CDFILIAL = :f AND NRPLANOANA = :p", soci::into(next),
            soci::use(branch), soci::use(plan);
        return static_cast<int>(std::lround(next - core::DateTime::now().datePart().days));
    }
    void run(const std::string& module) {
        std::vector<std::string> args{module};
        platform::LoadBPL("LKS52738", args);
    }
};

}  // namespace

TEST_F(ScheduledTasks, DuePlansRaiseOneRequestEachAndMovePastToday) {
    const int before = count("CDFILIAL = '0001'");
    run("ANA");
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "2 pedidos de análise gerados pelas tarefas programadas.");

    // The weekly sugar plan three days late and the daily syrup plan due today; not
    // the one due later, the switched-off one or the other branch's.
    EXPECT_EQ(count("CDFILIAL = '0001'"), before + 2);
    EXPECT_EQ(count("CDFILIAL = '0001' AND IDORIGAUDIT = 'TAR' AND IDSTATUSAUDI = '1' AND CDPRODUTO = '0000000004' "
                    "AND IDTPAUDITADO = 'M' AND DSREFEAUDIT = 'Monitoramento semanal do açúcar'"),
              1);
    EXPECT_EQ(count("CDFILIAL = '0001' AND IDORIGAUDIT = 'TAR' AND CDPRODUTO = '0000000014' AND IDTPAUDITADO = 'P'"), 1);
    EXPECT_EQ(count("CDFILIAL = '0002' AND IDORIGAUDIT = 'TAR'"), 0);
    // Their numbers come after every number already given.
    std::string highestOther, lowestNew;
    *db << "SELECT MAX(NRAUDITORIA) FROM AUDITORIA WHERE CDFILIAL = '0001' AND IDORIGAUDIT <> 'TAR'",
        soci::into(highestOther);
    *db << "SELECT MIN(NRAUDITORIA) FROM AUDITORIA WHERE CDFILIAL = '0001' AND IDORIGAUDIT = 'TAR'",
        soci::into(lowestNew);
    EXPECT_GT(lowestNew, highestOther);

    EXPECT_EQ(nextInDays("0001", "000001"), 4);   // -3 + 7
    EXPECT_EQ(nextInDays("0001", "000002"), 1);   // today + 1
    EXPECT_EQ(nextInDays("0001", "000003"), 12);  // not due yet
    EXPECT_EQ(nextInDays("0001", "000004"), -20);
    EXPECT_EQ(nextInDays("0002", "000001"), -1);

    // A second run the same day finds nothing due.
    run("ANA");
    ASSERT_EQ(script.messages.size(), 2u);
    EXPECT_EQ(script.messages[1].text, "Nenhuma tarefa programada vencida: nenhum pedido de análise foi gerado.");
    EXPECT_EQ(count("CDFILIAL = '0001'"), before + 2);

    // Another module's tasks are not this server's: refused, nothing raised.
    try {
        run("FAT");
        ADD_FAILURE() << "module FAT accepted";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "Tarefas programadas: módulo \"FAT\" desconhecido.");
    }
    EXPECT_EQ(count("CDFILIAL = '0001'"), before + 2);
}

#include <gtest/gtest.h>
#include <soci/soci.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "appserver/database.h"
#include "support/request_saves.h"
#include "support/server_process.h"
#include "support/test_server.h"

namespace {

// What a client knows of one request it saved: the description it was inserted with
// and, once the server answered the change, the changed one.
struct Saved {
    std::string inserted;
    std::string changed;       // sent
    bool changeAnswered = false;
};

}  // namespace

// The server killed in the middle of a stream of saves from several clients and
// started again on the same database: every save it answered is there, and no
// request is half-written.
TEST(CrashRecovery, AnsweredSavesSurviveAKilledServer) {
    testsupport::TestDatabase database;
    const int port = testsupport::freeLoopbackPort();
    auto server = std::make_unique<testsupport::ServerProcess>(database.address(), port, true);
    testsupport::loginAt(port);  // sessions live in the database: the restarted server knows it too

    std::mutex mutex;
    std::map<std::string, Saved> saved;
    std::atomic<int> answered{0};
    std::vector<std::thread> clients;
    for (int t = 0; t < 4; ++t) {
        clients.emplace_back([&, t] {
            try {
                testsupport::RequestSaver saver("127.0.0.1", port);
                for (int i = 0;; ++i) {
                    const std::string base = "Carga " + std::to_string(t) + "-" + std::to_string(i);
                    const std::string number = saver.insert(base);
                    {
                        std::lock_guard lock(mutex);
                        saved[number] = {base, base + " alterada", false};
                    }
                    ++answered;
                    saver.modify(base + " alterada");
                    {
                        std::lock_guard lock(mutex);
                        saved[number].changeAnswered = true;
                    }
                    ++answered;
                }
            } catch (const std::exception&) {
                // The server went away: this client stops.
            }
        });
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (answered < 300 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    server->kill();
    for (auto& c : clients) c.join();
    ASSERT_GE(answered.load(), 300) << "the clients saved too little before the deadline";

    server = std::make_unique<testsupport::ServerProcess>(database.address(), port, false);
    const auto address = appserver::parseDatabaseAddress(database.address());
    soci::session db(address.sociBackend, address.connect);

    // Every answered save is there, with the value it was answered for.
    for (const auto& [number, s] : saved) {
        std::string description;
        soci::indicator ind = soci::i_null;
        db << "SELECT DSREFEAUDIT FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRAUDITORIA = :n", soci::use(number),
            soci::into(description, ind);
        ASSERT_EQ(ind, soci::i_ok) << "request " << number << " answered but lost";
        if (s.changeAnswered)
            EXPECT_EQ(description, s.changed) << number;
        else
            EXPECT_TRUE(description == s.inserted || description == s.changed) << number << ": " << description;
    }
    // No request half-written, answered or not: each one whole.
    int broken = -1;
    db << "SELECT COUNT(*) FROM AUDITORIA WHERE DSREFEAUDIT LIKE 'Carga %' AND (CDPRODUTO IS NULL OR DATA IS NULL "
          "OR HORA IS NULL OR IDSTATUSAUDI <> '1' OR IDTPAUDITADO <> 'M')",
        soci::into(broken);
    EXPECT_EQ(broken, 0);
    if (address.backend == appserver::Backend::SQLite) {
        std::string integrity;
        db << "PRAGMA integrity_check", soci::into(integrity);
        EXPECT_EQ(integrity, "ok");
    }

    // The restarted server goes on numbering after every number it gave before.
    testsupport::RequestSaver saver("127.0.0.1", port);
    const std::string next = saver.insert("Depois da queda");
    EXPECT_GT(next, saved.rbegin()->first);
}

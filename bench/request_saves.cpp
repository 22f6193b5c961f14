// Load driver of the request save: 1, 4 and 16 clients at once, each saving requests
// the way the screen does (an insert, then a change of it), against a fresh server on
// SQLite and, when MXA_TEST_PG names a PostgreSQL cluster, on PostgreSQL. Reports saves
// per second, errors and repeated numbers. `bench_request_saves [saves per client]`.
#include "support/request_saves.h"

#include <spdlog/spdlog.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "appserver/server.h"
#include "core/heap.h"
#include "support/test_server.h"

namespace {

struct Result {
    int saves = 0;
    int errors = 0;
    int repeated = 0;
    double seconds = 0;
};

Result run(int clients, int savesPerClient) {
    testsupport::TestDatabase database;
    appserver::Options o;
    o.db = database.address();
    o.port = 0;
    o.demo = true;
    o.threads = 16;
    appserver::Server server(o);
    server.start();

    std::atomic<int> saves{0}, errors{0};
    std::vector<std::vector<std::string>> numbers(clients);
    std::vector<std::thread> threads;
    const auto start = std::chrono::steady_clock::now();
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            testsupport::RequestSaver saver("127.0.0.1", server.port());
            for (int i = 0; i < savesPerClient; i += 2) {
                try {
                    const std::string base = "Carga " + std::to_string(c) + "-" + std::to_string(i);
                    numbers[c].push_back(saver.insert(base));
                    ++saves;
                    if (i + 1 < savesPerClient) {
                        saver.modify(base + " alterada");
                        ++saves;
                    }
                } catch (const std::exception& e) {
                    if (errors++ == 0) spdlog::error("{}", e.what());
                }
            }
        });
    }
    for (auto& t : threads) t.join();
    Result r;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.saves = saves;
    r.errors = errors;
    std::set<std::string> seen;
    for (const auto& list : numbers)
        for (const auto& n : list)
            if (!seen.insert(n).second) ++r.repeated;
    server.stop();
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    core::keepFreedMemory();  // as the programs do
    spdlog::set_level(spdlog::level::warn);
    const int perClient = argc > 1 ? std::max(2, std::atoi(argv[1])) : 1000;
    const char* pg = std::getenv("MXA_TEST_PG");
    const std::string pgAddress = pg ? pg : "";
    std::vector<std::string> backends = {"sqlite"};
    if (!pgAddress.empty()) backends.push_back("postgresql");

    std::printf("%-11s %7s %7s %6s %8s %8s %9s\n", "backend", "clients", "saves", "errors", "repeated", "seconds",
                "saves/s");
    int failures = 0;
    for (const auto& backend : backends) {
        // The test database follows MXA_TEST_PG: set for PostgreSQL, unset for SQLite.
        if (backend == "sqlite")
            unsetenv("MXA_TEST_PG");
        else
            setenv("MXA_TEST_PG", pgAddress.c_str(), 1);
        for (int clients : {1, 4, 16}) {
            const Result r = run(clients, perClient);
            std::printf("%-11s %7d %7d %6d %8d %8.2f %9.0f\n", backend.c_str(), clients, r.saves, r.errors,
                        r.repeated, r.seconds, r.saves / r.seconds);
            std::fflush(stdout);
            failures += r.errors + r.repeated;
        }
    }
    return failures == 0 ? 0 : 1;
}

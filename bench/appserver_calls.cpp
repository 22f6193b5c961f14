// Load driver for the application server: round trips of a read and of the
// numbering, from 1 and 8 client threads, against the in-process demo server, and
// a one-row call set against an empty round trip (GET /ping) on one connection.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "appserver/call_handler.h"
#include "appserver/catalog.h"
#include "appserver/database.h"
#include "appserver/dialect/dialect.h"
#include "appserver/method_table.h"
#include "bench/quantile.h"
#include "core/heap.h"
#include "core/variant.h"
#include "platform/host.h"
#include "support/test_server.h"

namespace {

testsupport::TestServer& server() {
    static auto* s = new testsupport::TestServer(true);
    return *s;
}

// One kept-alive connection, as the client keeps it.
std::unique_ptr<httplib::Client> keptAlive() {
    auto client = std::make_unique<httplib::Client>("127.0.0.1", server().port());
    client->set_keep_alive(true);
    client->set_tcp_nodelay(true);
    return client;
}

// Calls go as the client sends them: the binary form both ways.
httplib::Headers sessionHeaders() {
    return {{"Authorization", "Bearer " + platform::session().token}, {"Accept", core::kBinaryContentType}};
}

std::string callBody(const std::vector<core::Variant>& args) { return core::encodeCall(args, core::Wire::Binary); }

bool answered(const httplib::Result& res) {
    if (!res || res->status != 200) return false;
    if (core::wireOf(res->get_header_value("Content-Type")) == core::Wire::Binary)
        return !core::decodeAnswer(res->body, core::Wire::Binary).result.isError();
    return res->body.find("\"error\"") == std::string::npos;
}

void roundTrips(benchmark::State& state, const std::string& path, const std::string& body) {
    auto client = keptAlive();
    const httplib::Headers session = sessionHeaders();
    for (auto _ : state) {
        auto res = client->Post(path.c_str(), session, body, core::kBinaryContentType);
        if (!answered(res)) {
            state.SkipWithError("call failed");
            break;
        }
        benchmark::DoNotOptimize(res->body.size());
    }
    state.SetItemsProcessed(state.iterations());
}

// The empty round trip a call's cost is set against.
void BM_Ping(benchmark::State& state) {
    auto client = keptAlive();
    for (auto _ : state) {
        auto res = client->Get("/ping");
        if (!answered(res)) {
            state.SkipWithError("ping failed");
            break;
        }
        benchmark::DoNotOptimize(res->body.size());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Ping)->UseRealTime();

// A ping and a one-row call alternately on the same connection: the median
// microseconds of each, their ratio and the median of each pair's ratio (the call
// should stay within 1.5 pings).
// Medians, because a busy machine's stray preemptions swamp a mean; on a busy
// machine a round trip often waits for a core, which the fastest tenth (the *_p10
// counters) leaves out, so they show what the two cost on their own.
void BM_GetParamMXAPerPing(benchmark::State& state) {
    auto client = keptAlive();
    const httplib::Headers session = sessionHeaders();
    const std::string body = callBody({"0001"});
    using Clock = std::chrono::steady_clock;
    auto us = [](Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); };
    std::vector<double> pings, calls, pairs;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        auto ping = client->Get("/ping");
        const auto t1 = Clock::now();
        auto res = client->Post("/rdmPedidoAna/GetParamMXA", session, body, core::kBinaryContentType);
        const auto t2 = Clock::now();
        if (!answered(ping) || !answered(res)) {
            state.SkipWithError("call failed");
            break;
        }
        pings.push_back(us(t1 - t0));
        calls.push_back(us(t2 - t1));
        pairs.push_back(us(t2 - t1) / us(t1 - t0));
    }
    auto report = [&](double q, const std::string& suffix) {
        const double pingUs = quantile(pings, q);
        const double callUs = quantile(calls, q);
        state.counters["ping_us" + suffix] = pingUs;
        state.counters["call_us" + suffix] = callUs;
        state.counters["ratio" + suffix] = pingUs > 0 ? callUs / pingUs : 0;
    };
    report(0.5, "");
    report(0.1, "_p10");
    // Each call against the ping just before it: a drift of the machine's load between
    // them weighs on both alike.
    state.counters["ratio_pairs"] = quantile(pairs, 0.5);
}
BENCHMARK(BM_GetParamMXAPerPing)->UseRealTime();

// The same call in the server's handler alone, without HTTP: what the session check,
// the transaction and the method cost over the library's own round trip.
void BM_GetParamMXAHandler(benchmark::State& state) {
    using namespace appserver;
    const DatabaseAddress address = parseDatabaseAddress(server().server().options().db);
    const Dialect& dialect = dialectFor(address.backend);
    SessionPool pool(address, 1);
    Catalog catalog(dialect);
    MethodTable methods;
    registerAllMethods(methods);
    CallHandler handler(methods, pool, catalog, dialect, 480);
    const std::string body = callBody({"0001"});
    const std::string bearer = "Bearer " + platform::session().token;
    for (auto _ : state) {
        const std::string answer = handler.handlePath("/rdmPedidoAna/GetParamMXA", body, bearer, core::Wire::Binary,
                                                      core::Wire::Binary);
        if (core::decodeAnswer(answer, core::Wire::Binary).result.isError()) {
            state.SkipWithError("call failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetParamMXAHandler);

void BM_GetParamMXA(benchmark::State& state) {
    roundTrips(state, "/rdmPedidoAna/GetParamMXA", callBody({"0001"}));
}
BENCHMARK(BM_GetParamMXA)->Threads(1)->Threads(8)->UseRealTime();

void BM_GetPrxAuditoria(benchmark::State& state) {
    roundTrips(state, "/rdmPedidoAna/GetPrxAuditoria", callBody({"0001"}));
}
BENCHMARK(BM_GetPrxAuditoria)->Threads(1)->Threads(8)->UseRealTime();

void BM_getPermissaoAna(benchmark::State& state) {
    roundTrips(state, "/rdmPedidoAna/getPermissaoAna", callBody({}));
}
BENCHMARK(BM_getPermissaoAna)->Threads(1)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    core::keepFreedMemory();  // as the programs do
    server();  // seed before timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete &server();  // takes its temporary database away
    return 0;
}

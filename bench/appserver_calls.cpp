// Load driver for the application server: round trips of a read and of the
// numbering, from 1 and 8 client threads, against the in-process demo server.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <memory>

#include "core/variant.h"
#include "platform/host.h"
#include "support/test_server.h"

namespace {

testsupport::TestServer& server() {
    static auto* s = new testsupport::TestServer(true);
    return *s;
}

void roundTrips(benchmark::State& state, const std::string& path, const std::string& body) {
    httplib::Client client("127.0.0.1", server().port());
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);
    const httplib::Headers session = {{"Authorization", "Bearer " + platform::session().token}};
    for (auto _ : state) {
        auto res = client.Post(path.c_str(), session, body, "application/json");
        if (!res || res->status != 200 || res->body.find("\"error\"") != std::string::npos) {
            state.SkipWithError("call failed");
            break;
        }
        benchmark::DoNotOptimize(res->body.size());
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_GetParamMXA(benchmark::State& state) {
    roundTrips(state, "/rdmPedidoAna/GetParamMXA", core::encodeCall({"0001"}));
}
BENCHMARK(BM_GetParamMXA)->Threads(1)->Threads(8)->UseRealTime();

void BM_GetPrxAuditoria(benchmark::State& state) {
    roundTrips(state, "/rdmPedidoAna/GetPrxAuditoria", core::encodeCall({"0001"}));
}
BENCHMARK(BM_GetPrxAuditoria)->Threads(1)->Threads(8)->UseRealTime();

void BM_getPermissaoAna(benchmark::State& state) {
    roundTrips(state, "/rdmPedidoAna/getPermissaoAna", core::encodeCall({}));
}
BENCHMARK(BM_getPermissaoAna)->Threads(1)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    server();  // seed before timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

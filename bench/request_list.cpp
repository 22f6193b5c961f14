// Loading the request list: 100,000 requests of one branch into cdsAuditoria
// through GetAuditoria (server query, wire, record set), next to the raw database
// query of the same rows in the same run.
#include <benchmark/benchmark.h>
#include <soci/soci.h>

#include <memory>
#include <string>
#include <vector>

#include "appserver/demo/demo_data.h"
#include "core/variant.h"
#include "platform/host.h"
#include "platform/netconnection.h"
#include "platform/scripted_host.h"
#include "records/request_criteria.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "support/test_server.h"

namespace {

constexpr int kBulk = 100000;

struct World {
    testsupport::TestServer server{true};
    platform::ScriptedHost host;
    std::unique_ptr<screen::TfrmPedidoAna> screen;
    std::string backend, connect;
    double from = 0, to = 0;
    std::vector<core::Variant> criteria;

    World() {
        backend = server.server().backendName();
        connect = server.server().connectString();
        {
            soci::session db(backend, connect);
            soci::transaction tr(db);
            appserver::seedBulkRequests(db, kBulk);
            tr.commit();
        }
        platform::setHost(&host);
        screen = std::make_unique<screen::TfrmPedidoAna>();
        screen->FormCreate();
        screen::frmPedidoAna = screen.get();
        // Every situation, process, sector and kind over three years: the whole branch.
        const auto today = core::DateTime::now().datePart();
        from = today.days - 3 * 365;
        to = today.days + 1;
        criteria = records::requestCriteria().arguments({{"stNRORDPROD", ""},
                                                         {"stTNRORDPROD", "T"},
                                                         {"stIDTPAUDITADO", ""},
                                                         {"stTIDTPAUDITADO", "T"},
                                                         {"stCDSETEXECAUD", ""},
                                                         {"stTCDSETEXECAUD", "T"},
                                                         {"stIDSTATUSAUDI", "T"},
                                                         {"stINICIO", ""},
                                                         {"stFIM", ""},
                                                         {"stTDPRODUTO", "T"},
                                                         {"dtDTINI", core::DateTime(from)},
                                                         {"dtDTFIM", core::DateTime(today.days)},
                                                         {"stNRLOTEESTQ", ""},
                                                         {"stTDLOTE", "T"},
                                                         {"stNRSUBLOTE", ""},
                                                         {"stTDSUBLOTE", "T"},
                                                         {"CDFILIAL", "0001"},
                                                         {"stTipoAna", "T"}});
    }
};

World& world() {
    static auto* w = new World();
    return *w;
}

void BM_GetAuditoriaIntoRecordSet(benchmark::State& state) {
    auto& w = world();
    int rows = 0;
    for (auto _ : state) {
        auto args = w.criteria;
        w.screen->cdsAuditoria.close();
        platform::loadFromServer(w.screen->cdsAuditoria, w.screen->netPedidoAna.call("GetAuditoria", args));
        rows = w.screen->cdsAuditoria.recordCount();
    }
    state.counters["rows"] = rows;
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_GetAuditoriaIntoRecordSet)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// The server's answer only: query, packet, wire and decoding, no record set.
void BM_GetAuditoriaCall(benchmark::State& state) {
    auto& w = world();
    size_t rows = 0;
    for (auto _ : state) {
        auto answer = testsupport::call("GetAuditoria", w.criteria);
        if (!answer.result.isPacket()) {
            state.SkipWithError(answer.result.error.c_str());
            break;
        }
        rows = answer.result.packet->rows.size();
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_GetAuditoriaCall)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// The same rows read straight from the database, every column fetched.
void BM_RawQuery(benchmark::State& state) {
    auto& w = world();
    soci::session db(w.backend, w.connect);
    size_t rows = 0;
    const std::string branch = "0001";  // bound by address: must outlive the statement
    for (auto _ : state) {
        rows = 0;
        size_t cells = 0;
        soci::rowset<soci::row> rs = (db.prepare << "SELECT * FROM AUDITORIA WHERE CDFILIAL = :f AND "
                                                    "DTINCLAUDIT >= :a AND DTINCLAUDIT < :b ORDER BY CDFILIAL, "
                                                    "NRAUDITORIA",
                                      soci::use(branch), soci::use(w.from), soci::use(w.to));
        for (const auto& r : rs) {
            for (std::size_t i = 0; i < r.size(); ++i) {
                if (r.get_indicator(i) != soci::i_ok) continue;
                switch (r.get_properties(i).get_data_type()) {
                    case soci::dt_double:
                        cells += r.get<double>(i) != 0;
                        break;
                    case soci::dt_integer:
                        cells += r.get<int>(i) != 0;
                        break;
                    case soci::dt_long_long:
                        cells += r.get<long long>(i) != 0;
                        break;
                    default:
                        cells += r.get<std::string>(i).size();
                        break;
                }
            }
            ++rows;
        }
        benchmark::DoNotOptimize(cells);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_RawQuery)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

}  // namespace

int main(int argc, char** argv) {
    world();  // seed before timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

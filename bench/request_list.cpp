// Loading the request list: 100,000 requests of one branch into cdsAuditoria
// through GetAuditoria (server query, wire, record set), next to the raw database
// query of the same rows in the same run (through SOCI, and through SQLite's own
// interface: the floor), apart and in alternating rounds, the client's peak memory against the same values in plain
// vectors, and the two wire forms of the list's packet side by side.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "appserver/demo/demo_data.h"
#include "appserver/record_query.h"
#include "bench/quantile.h"
#include "core/binary_wire.h"
#include "core/heap.h"
#include "core/variant.h"
#include "platform/host.h"
#include "platform/netconnection.h"
#include "platform/scripted_host.h"
#include "records/request_criteria.h"
#include "records/request_record.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "support/test_server.h"

// What the benchmark's own thread holds on the heap, and its peak while counting:
// the client's side of a call (the server answers on threads of its own).
thread_local bool counting = false;
thread_local long long heldBytes = 0, peakBytes = 0;

void* counted(std::size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    if (counting) {
        heldBytes += static_cast<long long>(malloc_usable_size(p));
        if (heldBytes > peakBytes) peakBytes = heldBytes;
    }
    return p;
}

void uncounted(void* p) noexcept {
    if (p && counting) heldBytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}

void* operator new(std::size_t n) { return counted(n); }
void* operator new[](std::size_t n) { return counted(n); }
void operator delete(void* p) noexcept { uncounted(p); }
void operator delete[](void* p) noexcept { uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { uncounted(p); }

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

// One load of the list into the record set, as the screen loads it.
int loadList(World& w) {
    auto args = w.criteria;
    w.screen->cdsAuditoria.close();
    platform::loadFromServer(w.screen->cdsAuditoria, w.screen->netPedidoAna.call("GetAuditoria", args));
    return w.screen->cdsAuditoria.recordCount();
}

// Milliseconds of one load of the list into the record set, for the raw queries'
// ratio (the goal: within 1.5 times the raw query through SOCI).
double listMs = 0;

void BM_GetAuditoriaIntoRecordSet(benchmark::State& state) {
    auto& w = world();
    int rows = 0;
    const auto started = std::chrono::steady_clock::now();
    for (auto _ : state) rows = loadList(w);
    listMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count() /
             static_cast<double>(state.iterations());
    state.counters["rows"] = rows;
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_GetAuditoriaIntoRecordSet)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// The server's answer only, as the client receives it: query, packet, wire and
// decoding, no record set.
void BM_GetAuditoriaCall(benchmark::State& state) {
    auto& w = world();
    size_t rows = 0;
    for (auto _ : state) {
        auto args = w.criteria;
        const auto result = w.screen->netPedidoAna.call("GetAuditoria", args);
        if (!result.isPacket()) {
            state.SkipWithError(result.error.c_str());
            break;
        }
        rows = result.packet->rows.size();
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_GetAuditoriaCall)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// The list's load (BM_GetAuditoriaIntoRecordSet, run first) per this raw query.
void listPerQuery(benchmark::State& state, std::chrono::steady_clock::time_point started) {
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count() /
                      static_cast<double>(state.iterations());
    if (listMs > 0 && ms > 0) state.counters["list_per_query"] = listMs / ms;
}

// The same rows read straight from the database, every column fetched: through SOCI.
size_t rawQuerySoci(World& w, soci::session& db) {
    size_t rows = 0, cells = 0;
    const std::string branch = "0001";  // bound by address: must outlive the statement
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
    return rows;
}

// The same statement through SQLite's own interface, every column read: the floor.
size_t rawQuerySqliteC(World& w, sqlite_api::sqlite3* h) {
    namespace sq = sqlite_api;
    static const std::string sql =
        "SELECT * FROM AUDITORIA WHERE CDFILIAL = ?1 AND DTINCLAUDIT >= ?2 AND DTINCLAUDIT < ?3 ORDER BY CDFILIAL, "
        "NRAUDITORIA";
    sq::sqlite3_stmt* st = nullptr;
    sq::sqlite3_prepare_v2(h, sql.c_str(), -1, &st, nullptr);
    sq::sqlite3_bind_text(st, 1, "0001", 4, SQLITE_STATIC);
    sq::sqlite3_bind_double(st, 2, w.from);
    sq::sqlite3_bind_double(st, 3, w.to);
    size_t rows = 0, cells = 0;
    while (sq::sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0, n = sq::sqlite3_column_count(st); i < n; ++i) {
            switch (sq::sqlite3_column_type(st, i)) {
                case SQLITE_FLOAT:
                    cells += sq::sqlite3_column_double(st, i) != 0;
                    break;
                case SQLITE_INTEGER:
                    cells += sq::sqlite3_column_int64(st, i) != 0;
                    break;
                case SQLITE_NULL:
                    break;
                default:
                    benchmark::DoNotOptimize(sq::sqlite3_column_text(st, i));
                    cells += static_cast<size_t>(sq::sqlite3_column_bytes(st, i));
            }
        }
        ++rows;
    }
    sq::sqlite3_finalize(st);
    benchmark::DoNotOptimize(cells);
    return rows;
}

sqlite_api::sqlite3* sqliteOf(soci::session& db) {
    return static_cast<soci::sqlite3_session_backend*>(db.get_backend())->conn_;
}

void BM_RawQuery(benchmark::State& state) {
    auto& w = world();
    soci::session db(w.backend, w.connect);
    size_t rows = 0;
    const auto started = std::chrono::steady_clock::now();
    for (auto _ : state) rows = rawQuerySoci(w, db);
    state.counters["rows"] = static_cast<double>(rows);
    state.SetItemsProcessed(state.iterations() * rows);
    listPerQuery(state, started);
}
BENCHMARK(BM_RawQuery)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void BM_RawQuerySqliteC(benchmark::State& state) {
    auto& w = world();
    soci::session db(w.backend, w.connect);
    if (w.backend != "sqlite3") {
        state.SkipWithError("only for SQLite");
        return;
    }
    size_t rows = 0;
    const auto started = std::chrono::steady_clock::now();
    for (auto _ : state) rows = rawQuerySqliteC(w, sqliteOf(db));
    state.counters["rows"] = static_cast<double>(rows);
    state.SetItemsProcessed(state.iterations() * rows);
    listPerQuery(state, started);
}
BENCHMARK(BM_RawQuerySqliteC)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// The list's load and the two raw queries one after the other, round after round:
// each round's ratios are taken within moments, so a shared machine's load, which
// moves the separate benchmarks above by a fifth from one run to the next, weighs
// on both sides of each ratio alike. The medians are the goal's measure.
void BM_ListPerRawQuery(benchmark::State& state) {
    auto& w = world();
    soci::session db(w.backend, w.connect);
    const bool sqlite = w.backend == "sqlite3";
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::vector<double> list, soci, c, perSoci, perC;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        loadList(w);
        const auto t1 = Clock::now();
        rawQuerySoci(w, db);
        const auto t2 = Clock::now();
        if (sqlite) rawQuerySqliteC(w, sqliteOf(db));
        const auto t3 = Clock::now();
        list.push_back(ms(t1 - t0));
        soci.push_back(ms(t2 - t1));
        perSoci.push_back(ms(t1 - t0) / ms(t2 - t1));
        if (sqlite) {
            c.push_back(ms(t3 - t2));
            perC.push_back(ms(t1 - t0) / ms(t3 - t2));
        }
    }
    state.counters["list_ms"] = quantile(list, 0.5);
    state.counters["raw_soci_ms"] = quantile(soci, 0.5);
    state.counters["list_per_soci"] = quantile(perSoci, 0.5);
    if (sqlite) {
        state.counters["raw_c_ms"] = quantile(c, 0.5);
        state.counters["list_per_c"] = quantile(perC, 0.5);
    }
}
BENCHMARK(BM_ListPerRawQuery)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(15);

// The client's peak heap while it loads the list (the answer's body, its decoding
// and the record set), and what it then holds, against the same values in plain
// vectors: one per column of its own C++ type (std::string, int64_t, double, bool)
// with a null flag per cell. The goal: the peak within twice the plain vectors.
void BM_ListMemory(benchmark::State& state) {
    auto& w = world();
    double peakMb = 0, heldMb = 0, plainMb = 0;
    for (auto _ : state) {
        w.screen->cdsAuditoria.close();
        heldBytes = peakBytes = 0;
        counting = true;
        auto args = w.criteria;
        platform::loadFromServer(w.screen->cdsAuditoria, w.screen->netPedidoAna.call("GetAuditoria", args));
        const long long held = heldBytes, peak = peakBytes;

        // The plain vectors, counted the same way.
        heldBytes = 0;
        auto& set = w.screen->cdsAuditoria;
        const auto defs = set.fieldDefs();
        const int n = set.recordCount();
        struct Column {
            std::vector<std::string> texts;
            std::vector<int64_t> integers;
            std::vector<double> reals;
            std::vector<bool> flags, nulls;
        };
        std::vector<Column> columns(defs.size());
        for (size_t c = 0; c < defs.size(); ++c) {
            columns[c].nulls.reserve(static_cast<size_t>(n));
            switch (defs[c].type) {
                case core::FieldType::String:
                case core::FieldType::Blob:
                    columns[c].texts.reserve(static_cast<size_t>(n));
                    break;
                case core::FieldType::Integer:
                    columns[c].integers.reserve(static_cast<size_t>(n));
                    break;
                case core::FieldType::Boolean:
                    columns[c].flags.reserve(static_cast<size_t>(n));
                    break;
                default:
                    columns[c].reals.reserve(static_cast<size_t>(n));
            }
        }
        for (int r = 0; r < n; ++r)
            for (size_t c = 0; c < defs.size(); ++c) {
                const core::Value v = set.valueAt(r, defs[c].name);
                auto& col = columns[c];
                col.nulls.push_back(v.isNull());
                switch (defs[c].type) {
                    case core::FieldType::String:
                    case core::FieldType::Blob:
                        col.texts.push_back(v.asString());
                        break;
                    case core::FieldType::Integer:
                        col.integers.push_back(v.asInteger());
                        break;
                    case core::FieldType::Boolean:
                        col.flags.push_back(v.asBool());
                        break;
                    default:
                        col.reals.push_back(v.asFloat());
                }
            }
        const long long plain = heldBytes;
        counting = false;
        peakMb = static_cast<double>(peak) / 1e6;
        heldMb = static_cast<double>(held) / 1e6;
        plainMb = static_cast<double>(plain) / 1e6;
    }
    state.counters["peak_MB"] = peakMb;
    state.counters["held_MB"] = heldMb;
    state.counters["plain_MB"] = plainMb;
    state.counters["peak_per_plain"] = plainMb > 0 ? peakMb / plainMb : 0;
}
BENCHMARK(BM_ListMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The list's packet in each wire form: JSON through a document tree (readable with
// curl, what every call took before) and the binary form the client asks for.
const core::Packet& listPacket() {
    static const core::Packet p = [] {
        auto& w = world();
        soci::session db(w.backend, w.connect);
        return appserver::queryRecord(db, records::requestRecord(), "A.CDFILIAL = '0001'", "A.CDFILIAL, A.NRAUDITORIA");
    }();
    return p;
}

void BM_ListEncode(benchmark::State& state, core::Wire wire) {
    const core::Variant packet(listPacket());
    size_t bytes = 0;
    for (auto _ : state) bytes = core::encodeResult(packet, {}, wire).size();
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK_CAPTURE(BM_ListEncode, json, core::Wire::Json)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ListEncode, binary, core::Wire::Binary)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ListDecode(benchmark::State& state, core::Wire wire) {
    const std::string body = core::encodeResult(core::Variant(listPacket()), {}, wire);
    for (auto _ : state) benchmark::DoNotOptimize(core::decodeAnswer(body, wire).result.packet->rows.size());
}
BENCHMARK_CAPTURE(BM_ListDecode, json, core::Wire::Json)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ListDecode, binary, core::Wire::Binary)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    core::keepFreedMemory();  // as the programs do
    world();  // seed before timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete &world();  // its server takes its temporary database away
    return 0;
}

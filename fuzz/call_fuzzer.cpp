// Feeds arbitrary calls to the server's call handler, in process and without
// sockets: the path, the envelope, the method lookup, the session check, every
// method's argument checks and refusals, against the demo data in an in-memory
// SQLite database.
//
// An input is three parts: the path on the first line, the Authorization header on
// the second (the word SESSION stands for the header of a session that is open)
// and the body after it. Whatever arrives, the handler must answer a well-formed
// envelope, and nothing but the login may answer a call that carries no open session.
#include <sodium.h>
#include <spdlog/spdlog.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "appserver/call_handler.h"
#include "appserver/catalog.h"
#include "appserver/database.h"
#include "appserver/demo/demo_data.h"
#include "appserver/dialect/dialect.h"
#include "appserver/method_table.h"
#include "appserver/migrate.h"
#include "appserver/sessions/login_session.h"
#include "core/error.h"
#include "core/variant.h"

namespace {

using namespace appserver;

struct Harness {
    DatabaseAddress address = parseDatabaseAddress("sqlite::memory:");
    const Dialect& dialect = dialectFor(address.backend);
    // One session only: an in-memory database lives in the connection that made it.
    SessionPool pool{address, 1};
    Catalog catalog{dialect};
    MethodTable methods;
    std::unique_ptr<CallHandler> handler;
    std::string bearer;

    Harness() {
        registerAllMethods(methods);
        {
            SessionPool::Lease lease(pool);
            migrate(lease.db(), dialect);
            seedDemoWhenEmpty(lease.db(), dialect);
        }
        openSession();
        handler = std::make_unique<CallHandler>(methods, pool, catalog, dialect, 480);
    }

    // A fresh login session, for the start and after an input logged the last one out.
    void openSession() {
        SessionPool::Lease lease(pool);
        CallTransaction tx(lease.db(), dialect);
        bearer = "Bearer " + openLoginSession(lease.db(), "DEMO", "0001");
        tx.commit();
    }
};

Harness& harness() {
    static Harness* s = [] {
        if (sodium_init() < 0) std::abort();
        spdlog::set_level(spdlog::level::off);
        return new Harness();  // never destroyed: libFuzzer exits without unwinding
    }();
    return *s;
}

std::string takeLine(std::string& rest) {
    const auto nl = rest.find('\n');
    std::string line = rest.substr(0, nl);
    rest = nl == std::string::npos ? std::string() : rest.substr(nl + 1);
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Harness& s = harness();
    std::string body(reinterpret_cast<const char*>(data), size);
    const std::string path = takeLine(body);
    std::string authorization = takeLine(body);
    if (authorization == "SESSION") authorization = s.bearer;

    const std::string answer = s.handler->handlePath(path, body, authorization);
    // To see what an input (a seed, a crash) was answered: MXA_FUZZ_ECHO=1 call_fuzzer FILE
    static const bool echo = std::getenv("MXA_FUZZ_ECHO") != nullptr;
    if (echo) std::fprintf(stderr, "%s -> %s\n", path.c_str(), answer.c_str());
    core::CallAnswer decoded;
    try {
        decoded = core::decodeAnswer(answer);
    } catch (const core::Error& e) {
        std::fprintf(stderr, "call fuzzer: malformed answer (%s): %s\n", e.what(), answer.c_str());
        std::abort();
    }
    if (authorization != s.bearer && !decoded.result.isError() && path != "/Host/Login") {
        std::fprintf(stderr, "call fuzzer: %s answered without a session: %s\n", path.c_str(), answer.c_str());
        std::abort();
    }
    if (path == "/Host/Logout" && !decoded.result.isError()) s.openSession();
    return 0;
}

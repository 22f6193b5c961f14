#include "appserver/server.h"

#include <httplib.h>
#include <sodium.h>
#include <spdlog/spdlog.h>

#include <chrono>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "appserver/call_handler.h"
#include "appserver/catalog.h"
#include "appserver/database.h"
#include "appserver/demo/demo_data.h"
#include "appserver/dialect/dialect.h"
#include "appserver/method_table.h"
#include "appserver/migrate.h"
#include "appserver/tls_files.h"
#include "core/variant.h"

namespace appserver {

struct Server::Impl {
    Options options;
    DatabaseAddress address;
    std::unique_ptr<SessionPool> pool;
    std::unique_ptr<Catalog> catalog;
    MethodTable methods;
    std::unique_ptr<CallHandler> handler;
    std::unique_ptr<httplib::Server> http;  // an SSLServer when given a certificate
    std::thread thread;
    int port = 0;
    bool running = false;

    bool tls() const { return !options.tlsCert.empty(); }
    void openDatabase();
    void makeEndpoint();
    void route();
};

void Server::Impl::openDatabase() {
    address = parseDatabaseAddress(options.db);
    const Dialect& dialect = dialectFor(address.backend);
    {
        soci::session db;
        openSession(db, address);
        migrate(db, dialect);
        if (options.demo) seedDemoWhenEmpty(db, dialect);
    }
    const int size = options.threads > 0 ? options.threads : 1;
    pool = std::make_unique<SessionPool>(address, static_cast<size_t>(size));
    catalog = std::make_unique<Catalog>(dialect);
    handler = std::make_unique<CallHandler>(methods, *pool, *catalog, dialect, options.sessionIdleMinutes);
}

void Server::Impl::makeEndpoint() {
    checkTlsFiles(options.tlsCert, options.tlsKey);
    if (!tls()) {
        http = std::make_unique<httplib::Server>();
        return;
    }
    auto ssl = std::make_unique<httplib::SSLServer>(options.tlsCert.c_str(), options.tlsKey.c_str());
    if (!ssl->is_valid())
        throw std::runtime_error("Não foi possível usar o certificado TLS \"" + options.tlsCert + "\" com a chave \"" +
                                 options.tlsKey + "\".");
    http = std::move(ssl);
}

namespace {

// The three headers a call reads, found in one pass: the library's own look-up
// compares names through tolower() one character at a time, three times over.
// They point into the request, which outlives the call that reads them; each one
// stays empty until found.
struct CallHeaders {
    const std::string* contentType = nullptr;
    const std::string* accept = nullptr;
    const std::string* authorization = nullptr;

    explicit CallHeaders(const httplib::Request& req) {
        auto is = [](const std::string& name, std::string_view wanted) {
            if (name.size() != wanted.size()) return false;
            for (size_t i = 0; i < name.size(); ++i) {
                const char c = name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] - 'A' + 'a') : name[i];
                if (c != wanted[i]) return false;
            }
            return true;
        };
        // The first of each, as the library's look-up answers.
        for (const auto& [name, value] : req.headers) {
            if (!contentType && is(name, "content-type"))
                contentType = &value;
            else if (!accept && is(name, "accept"))
                accept = &value;
            else if (!authorization && is(name, "authorization"))
                authorization = &value;
        }
    }
    // A header's value, or "" for one the request does not carry.
    static const std::string& valueOf(const std::string* header) {
        static const std::string none;
        return header ? *header : none;
    }
};

}  // namespace

void Server::Impl::route() {
    const int threads = options.threads > 0 ? options.threads : 1;
    http->new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
    http->set_payload_max_length(64u << 20);
    // Small answers must not wait for the peer's delayed ACK (Nagle): 40 ms per call otherwise.
    http->set_tcp_nodelay(true);
    // A client's calls reuse its connection: a new TCP connection every few calls (the
    // library's default is 5) costs more than the call. Still bounded, so with more
    // clients than workers each client gives its worker up now and then.
    http->set_keep_alive_max_count(1000);
    http->Get("/ping", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(core::encodeResult(core::Variant("pong")), "application/json");
    });
    // JSON unless the client names the binary form: its body by Content-Type, the answer by Accept.
    http->Post(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
        const CallHeaders headers(req);
        const auto in = core::wireOf(CallHeaders::valueOf(headers.contentType));
        const std::string& accept = CallHeaders::valueOf(headers.accept);
        const std::string& authorization = CallHeaders::valueOf(headers.authorization);
        const auto out = core::wireOf(accept);
        if (accept.find(core::kStreamContentType) != std::string::npos && handler->streams(req.path)) {
            // A long list goes out as it is read, so the client decodes it meanwhile. The
            // call runs on this worker once the headers are out, within one write callback.
            res.set_chunked_content_provider(core::kStreamContentType, [this, path = req.path, body = req.body,
                                                                        authorization,
                                                                        in](size_t, httplib::DataSink& sink) {
                AnswerSink answer([&sink](std::string_view bytes) { return sink.write(bytes.data(), bytes.size()); });
                try {
                    answer.write(handler->handlePath(path, body, authorization, in, core::Wire::Binary, &answer));
                } catch (const std::exception& e) {
                    // The client went away: its answer is cut, and it says so.
                    spdlog::warn("{}: {}", path, e.what());
                    return false;
                }
                sink.done();
                return true;
            });
            return;
        }
        // Moved, not copied as set_content would: a long list is tens of megabytes.
        res.body = handler->handlePath(req.path, req.body, authorization, in, out);
        res.set_header("Content-Type", core::contentTypeOf(out));
    });
}

Server::Server(Options options) : impl_(std::make_unique<Impl>()) {
    impl_->options = std::move(options);
    registerAllMethods(impl_->methods);
}

Server::~Server() { stop(); }

void Server::start() {
    if (impl_->running) return;
    if (sodium_init() < 0) throw std::runtime_error("libsodium não pôde ser iniciada.");
    // A bad certificate is found before the database is touched.
    impl_->makeEndpoint();
    try {
        impl_->openDatabase();
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("Não foi possível abrir o banco de dados: ") + e.what());
    }
    impl_->route();
    auto& o = impl_->options;
    int port = o.port;
    if (port == 0) {
        port = impl_->http->bind_to_any_port(o.address);
        if (port <= 0) throw std::runtime_error("Não foi possível escutar em " + o.address + ".");
    } else if (!impl_->http->bind_to_port(o.address, port)) {
        throw std::runtime_error("Não foi possível escutar em " + o.address + ":" + std::to_string(port) + ".");
    }
    impl_->port = port;
    impl_->thread = std::thread([this] { impl_->http->listen_after_bind(); });
    while (!impl_->http->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    impl_->running = true;
    spdlog::info("Servidor de aplicação em {}://{}:{} ({})", impl_->tls() ? "https" : "http", o.address, port,
                 impl_->address.sociBackend);
}

void Server::stop() {
    if (!impl_) return;
    if (impl_->thread.joinable()) {
        impl_->http->stop();
        impl_->thread.join();
    }
    impl_->running = false;
}

int Server::port() const { return impl_->port; }
const Options& Server::options() const { return impl_->options; }

std::string Server::backendName() const {
    return parseDatabaseAddress(impl_->options.db).sociBackend;
}

std::string Server::connectString() const { return parseDatabaseAddress(impl_->options.db).connect; }

MethodTable& Server::methods() { return impl_->methods; }

}  // namespace appserver

#include "support/test_server.h"

#include <httplib.h>
#include <soci/soci.h>
#include <spdlog/spdlog.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "appserver/sessions/login_session.h"
#include "platform/host.h"
#include "platform/server_client.h"
#include "platform/session_login.h"

namespace testsupport {

namespace {

std::string uniqueSuffix() {
    static std::atomic<int> counter{0};
    std::random_device rd;
    return std::to_string(::getpid()) + "_" + std::to_string(counter++) + "_" + std::to_string(rd() % 100000);
}

}  // namespace

TestDatabase::TestDatabase() {
    const char* pg = std::getenv("MXA_TEST_PG");
    if (pg && *pg) {
        pgAdmin_ = pg;
        pgSchema_ = "mxa_test_" + uniqueSuffix();
        soci::session admin("postgresql", pgAdmin_);
        admin << "CREATE SCHEMA " + pgSchema_;
        address_ = "postgresql:" + pgAdmin_ + " options='-csearch_path=" + pgSchema_ + "'";
    } else {
        sqliteFile_ = (std::filesystem::temp_directory_path() / ("mxa07300_test_" + uniqueSuffix() + ".db")).string();
        address_ = "sqlite:" + sqliteFile_;
    }
}

TestDatabase::~TestDatabase() {
    if (!sqliteFile_.empty()) {
        std::error_code ec;
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(sqliteFile_ + suffix, ec);
    }
    if (!pgSchema_.empty()) {
        try {
            soci::session admin("postgresql", pgAdmin_);
            admin << "SET client_min_messages TO WARNING";
            admin << "DROP SCHEMA " + pgSchema_ + " CASCADE";
        } catch (const std::exception& e) {
            spdlog::warn("Esquema de teste {} não removido: {}", pgSchema_, e.what());
        }
    }
}

struct TestServer::Impl {
    TestDatabase database;
    std::unique_ptr<appserver::Server> server;
};

TestServer::TestServer(bool demo, const TlsFiles& tls) : impl_(std::make_unique<Impl>()) {
    // One line per call drowns the test output; MXA_LOG=info brings it back.
    const char* level = std::getenv("MXA_LOG");
    spdlog::set_level(level ? spdlog::level::from_str(level) : spdlog::level::warn);

    appserver::Options o;
    o.address = "127.0.0.1";
    o.port = 0;
    o.demo = demo;
    o.threads = 8;
    o.db = impl_->database.address();
    o.tlsCert = tls.cert;
    o.tlsKey = tls.key;
    impl_->server = std::make_unique<appserver::Server>(o);
    impl_->server->start();

    auto& s = platform::session();
    s.webUrl = "127.0.0.1";
    s.webPort = impl_->server->port();
    s.webTls = !tls.cert.empty();
    s.caFile = tls.ca;
    s.dbBackend = impl_->server->backendName();
    s.dbConnect = impl_->server->connectString();
    s.operador = kOperador;
    s.filial = kFilial;
    s.nomeOperador.clear();
    loginAs(kOperador);
    if (demo) {
        soci::session db(s.dbBackend, s.dbConnect);
        const std::string code = kOperador;
        std::string name;
        soci::indicator ind = soci::i_ok;
        db << "SELECT NMOPERADOR FROM OPERADOR WHERE CDOPERADOR = :o", soci::use(code), soci::into(name, ind);
        if (ind == soci::i_ok) s.nomeOperador = name;
    }
}

TestServer::~TestServer() {
    impl_->server->stop();
    impl_->server.reset();
}

appserver::Server& TestServer::server() { return *impl_->server; }

void TestServer::loginAs(const std::string& operador, const std::string& filial) {
    // The session a login opens, opened by the server's own routine: a login per test
    // would spend the password hash's deliberate slowness on every test.
    auto& s = platform::session();
    soci::session db(s.dbBackend, s.dbConnect);
    s.token = appserver::openLoginSession(db, operador, filial);
    s.operador = operador;
    s.filial = filial;
}
int TestServer::port() const { return impl_->server->port(); }

RawAnswer post(int port, const std::string& path, const std::string& body,
               const std::optional<std::string>& authorization, core::Wire wire) {
    const auto& s = platform::session();
    auto client = platform::makeServerClient("127.0.0.1", port, s.webTls, s.caFile);
    client->set_read_timeout(60, 0);
    client->set_tcp_nodelay(true);
    httplib::Headers headers;
    const std::string header = authorization ? *authorization : "Bearer " + s.token;
    if (!header.empty()) headers.emplace("Authorization", header);
    if (wire == core::Wire::Binary) headers.emplace("Accept", core::kBinaryContentType);
    auto res = client->Post(path.c_str(), headers, body, core::contentTypeOf(wire));
    if (!res) throw std::runtime_error("servidor inacessível: " + httplib::to_string(res.error()));
    return {res->status, res->body, res->get_header_value("Content-Type")};
}

core::CallAnswer callAt(int port, const std::string& method, std::vector<core::Variant> args,
                        const std::string& module) {
    const auto answer = post(port, "/" + module + "/" + method, core::encodeCall(args));
    return core::decodeAnswer(answer.body);
}

std::string loginAt(int port, const std::string& operador, const std::string& senha) {
    auto& s = platform::session();
    s.webUrl = "127.0.0.1";
    s.webPort = port;
    if (auto refused = platform::login(operador, senha)) throw std::runtime_error("login recusado: " + *refused);
    return s.token;
}

core::CallAnswer call(const std::string& method, std::vector<core::Variant> args, const std::string& module) {
    return callAt(platform::session().webPort, method, std::move(args), module);
}

}  // namespace testsupport

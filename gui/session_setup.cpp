#include "gui/session_setup.h"

#include <cstdlib>
#include <filesystem>

#include "appserver/server.h"
#include "core/error.h"
#include "platform/host.h"
#include "platform/query.h"

namespace gui {

namespace fs = std::filesystem;

std::string defaultDataDir() {
    fs::path dir;
    if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) dir = fs::path(x) / "mxa07300";
    else if (const char* h = std::getenv("HOME"); h && *h) dir = fs::path(h) / ".local" / "share" / "mxa07300";
    else dir = fs::path("data");
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        dir = fs::path("data");
        fs::create_directories(dir, ec);
    }
    return dir.string();
}

std::string defaultDatabase() { return "sqlite:" + (fs::path(defaultDataDir()) / "mxa07300.db").string(); }

std::unique_ptr<appserver::Server> startEmbeddedServer(const std::string& db) {
    appserver::Options o;
    o.db = db;
    o.address = "127.0.0.1";
    o.port = 0;
    o.demo = true;
    auto server = std::make_unique<appserver::Server>(o);
    server->start();
    return server;
}

Endpoint parseServerAddress(const std::string& address) {
    Endpoint e;
    std::string hostPort = address;
    if (const auto sep = address.find("://"); sep != std::string::npos) {
        const std::string scheme = address.substr(0, sep);
        if (scheme != "http" && scheme != "https")
            throw core::Error("Endereço do servidor inválido: \"" + address + "\". Use http:// ou https://.");
        e.tls = scheme == "https";
        hostPort = address.substr(sep + 3);
    }
    const auto colon = hostPort.rfind(':');
    try {
        if (colon == std::string::npos || colon == 0) throw core::Error("");
        e.serverHost = hostPort.substr(0, colon);
        size_t used = 0;
        e.serverPort = std::stoi(hostPort.substr(colon + 1), &used);
        if (used != hostPort.size() - colon - 1 || e.serverPort <= 0 || e.serverPort > 65535) throw core::Error("");
    } catch (const std::exception&) {
        throw core::Error("Endereço do servidor inválido: \"" + address + "\". Use HOST:PORTA ou https://HOST:PORTA.");
    }
    return e;
}

namespace {
// "sqlite:PATH" / "postgresql://..." as the SOCI backend and connect string.
void setQueryDatabase(const std::string& db) {
    auto& s = platform::session();
    if (db.rfind("sqlite:", 0) == 0) {
        s.dbBackend = "sqlite3";
        s.dbConnect = db.substr(7);
    } else if (db.rfind("postgresql:", 0) == 0) {
        s.dbBackend = "postgresql";
        s.dbConnect = db.rfind("postgresql://", 0) == 0 ? db : db.substr(11);
    } else if (!db.empty()) {
        throw core::Error("Banco de dados não reconhecido: \"" + db + "\". Use sqlite:ARQUIVO ou postgresql://...");
    }
    platform::resetQueryDatabase();
}
}  // namespace

void useEndpoint(const Endpoint& endpoint) {
    auto& s = platform::session();
    s.webUrl = endpoint.serverHost;
    s.webPort = endpoint.serverPort;
    s.webTls = endpoint.tls;
    s.caFile = endpoint.caFile;
    setQueryDatabase(endpoint.db);
}

void useEmbeddedServer(const appserver::Server& server) {
    auto& s = platform::session();
    s.webUrl = "127.0.0.1";
    s.webPort = server.port();
    s.webTls = false;  // loopback inside the process
    s.caFile.clear();
    s.dbBackend = server.backendName();
    s.dbConnect = server.connectString();
    platform::resetQueryDatabase();
}

}  // namespace gui

#pragma once
#include <memory>
#include <optional>
#include <string>

namespace appserver {
class Server;
}

namespace gui {

// Where the program finds its server and database.
struct Endpoint {
    std::string serverHost = "127.0.0.1";
    int serverPort = 0;
    bool tls = false;    // https://: the server's certificate is verified
    std::string caFile;  // the authority of that certificate; empty: the system's store
    std::string db;      // "sqlite:PATH" or "postgresql://..." (empty with a separate server: no direct queries)
};

// The local data folder: $XDG_DATA_HOME/mxa07300, else ~/.local/share/mxa07300,
// else ./data. Created when missing.
std::string defaultDataDir();
std::string defaultDatabase();  // "sqlite:<data folder>/mxa07300.db"

// The application server run inside the program, on a loopback port, over `db`;
// the demo factory is seeded when the database is empty (first run).
std::unique_ptr<appserver::Server> startEmbeddedServer(const std::string& db);

// "HOST:PORT", "http://HOST:PORT" or "https://HOST:PORT" -> host, port and
// transport; throws core::Error in the system's words.
Endpoint parseServerAddress(const std::string& address);

// Points the session at the server and at the database of the direct queries.
void useEndpoint(const Endpoint& endpoint);
void useEmbeddedServer(const appserver::Server& server);

}  // namespace gui

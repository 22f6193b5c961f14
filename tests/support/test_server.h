#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "appserver/server.h"
#include "core/variant.h"

namespace testsupport {

// A database of a test's own: a temporary SQLite file, or, when MXA_TEST_PG holds a
// libpq connect string, a fresh PostgreSQL schema. Removed (dropped) at the end.
class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;
    // The server's --db address: "sqlite:PATH" or "postgresql:CONNECT".
    const std::string& address() const { return address_; }

private:
    std::string address_;
    std::string sqliteFile_;
    std::string pgAdmin_;   // libpq connect string of the test cluster
    std::string pgSchema_;  // schema of this database
};

// HTTPS for a TestServer: the server's certificate and key, and the authority the
// session checks them against (support/test_certificates.h makes them).
struct TlsFiles {
    std::string cert, key, ca;
};

// The real application server, in-process on an ephemeral loopback port, over a
// database of its own: a temporary SQLite file, or, when MXA_TEST_PG holds a libpq
// connect string, a fresh PostgreSQL schema (dropped at the end). The client
// session (platform::session()) is pointed at it, logged in as the demo operator
// of the demo branch. What tests must do differently per database is asked of
// backendContext() (support/backend_context.h).
class TestServer {
public:
    // With `tls` it serves HTTPS and the session trusts `tls.ca`.
    explicit TestServer(bool demo = true, const TlsFiles& tls = {});
    ~TestServer();
    appserver::Server& server();
    int port() const;
    // Opens a session for another operator, as its login would, and makes it the
    // client session's.
    void loginAs(const std::string& operador, const std::string& filial = kFilial);

    // The demo's operator and branch the session is logged in as.
    static constexpr const char* kOperador = "DEMO";
    static constexpr const char* kSenha = "demo";
    static constexpr const char* kFilial = "0001";

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Logs in over HTTP (Host/Login) at the server on `port` and points the client
// session at it with the new token; answers the token. Throws on a refusal.
std::string loginAt(int port, const std::string& operador = TestServer::kOperador,
                    const std::string& senha = TestServer::kSenha);

// One call to the server the session points at (or to `port`), over the session's
// transport (HTTPS when it has it), through the wire codecs, carrying the client session's token; the answer as decoded
// (result.error set on a refusal).
core::CallAnswer call(const std::string& method, std::vector<core::Variant> args = {},
                      const std::string& module = "rdmPedidoAna");
core::CallAnswer callAt(int port, const std::string& method, std::vector<core::Variant> args = {},
                        const std::string& module = "rdmPedidoAna");

// A raw POST (any body), for malformed requests: the HTTP status and the body. The
// Authorization header is the client session's token unless `authorization` is given.
struct RawAnswer {
    int status = 0;
    std::string body;
    std::string contentType;
};
// `wire`: the form the body is in and the answer is asked for (the client's is binary).
RawAnswer post(int port, const std::string& path, const std::string& body,
               const std::optional<std::string>& authorization = std::nullopt, core::Wire wire = core::Wire::Json);

}  // namespace testsupport

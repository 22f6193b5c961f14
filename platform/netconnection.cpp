#include "platform/netconnection.h"

#include <httplib.h>

#include <optional>
#include <string_view>

#include "core/error.h"
#include "platform/host.h"
#include "platform/server_client.h"
#include "platform/session_login.h"

namespace platform {

namespace {
constexpr int kConnectTimeoutSeconds = 5;
// Saves and bulk actions may take a while on a busy database.
constexpr int kReadTimeoutSeconds = 120;

bool sessionRefused(const core::Variant& result) { return result.isError() && result.error == core::kSessionRefused; }

bool isLogin(const std::string& module, const std::string& method) { return module == "Host" && method == "Login"; }

// Logging in or out with a password prompt in between makes no sense.
bool renewable(const std::string& module, const std::string& method) {
    return !isLogin(module, method) && !(module == "Host" && method == "Logout");
}

std::string unreachable(const std::string& host, int port) {
    return "Não foi possível conectar ao servidor de aplicação " + host + ":" + std::to_string(port) + ".";
}
}  // namespace

struct TNetConnection::Impl {
    std::unique_ptr<httplib::Client> client;
    std::string host;
    int port = 0;
};

TNetConnection::TNetConnection(std::string serverName)
    : ServerName(std::move(serverName)), impl_(std::make_unique<Impl>()) {}

TNetConnection::~TNetConnection() = default;

void TNetConnection::Open() {
    if (connected_) return;
    if (OnBeforeConnect) OnBeforeConnect(*this);
    if (Host.empty() || Port <= 0 || Port > 65535) throw core::Error(unreachable(Host, Port));
    auto client = makeServerClient(Host, Port, Tls, CaFile);
    client->set_connection_timeout(kConnectTimeoutSeconds, 0);
    client->set_read_timeout(kReadTimeoutSeconds, 0);
    client->set_write_timeout(kReadTimeoutSeconds, 0);
    client->set_keep_alive(true);
    // Without it every call waits on delayed acknowledgements (about 40 ms).
    client->set_tcp_nodelay(true);
    // Any HTTP answer proves the server is there; only a failed round trip is refused.
    auto res = client->Get("/ping");
    if (!res) {
        const std::string why = transportFailure(*client, res.error(), Host, Port, Tls, CaFile);
        throw core::Error(why.empty() ? unreachable(Host, Port) : why);
    }
    impl_->client = std::move(client);
    impl_->host = Host;
    impl_->port = Port;
    connected_ = true;
}

void TNetConnection::Close() {
    impl_->client.reset();
    connected_ = false;
}

core::Variant TNetConnection::call(const std::string& method, std::vector<core::Variant>&& args) {
    return call(method, args);
}

core::Variant TNetConnection::call(const std::string& method, std::vector<core::Variant>& args) {
    // A call on a closed connection connects first, as the host's component does.
    if (!connected_) Open();
    const auto dot = ServerName.rfind('.');
    const std::string module = dot == std::string::npos ? ServerName : ServerName.substr(dot + 1);
    const std::string path = "/" + module + "/" + method;

    const auto send = [&] {
        // The binary form both ways: a long list costs a fraction of its JSON, and comes
        // as it is read (streamed) where the method offers it.
        httplib::Headers headers{{"Accept", std::string(core::kStreamContentType) + ", " + core::kBinaryContentType}};
        // Read at each call: a new login in between changes it. A login opens a session
        // and has none to show; the one that ran out would only be refused.
        if (const std::string& token = session().token; !token.empty() && !isLogin(module, method))
            headers.emplace("Authorization", "Bearer " + token);
        httplib::Request req;
        req.method = "POST";
        req.path = path;
        req.headers = std::move(headers);
        req.set_header("Content-Type", core::kBinaryContentType);
        req.body = core::encodeCall(args, core::Wire::Binary);
        // The answer's whole length is reserved at once: a long list otherwise grows by
        // doubling, copying and touching tens of megabytes more than it needs.
        std::string body;
        // A streamed answer is decoded piece by piece as it arrives.
        std::optional<core::AnswerStream> stream;
        req.response_handler = [&stream](const httplib::Response& r) {
            if (r.get_header_value("Content-Type").find(core::kStreamContentType) != std::string::npos)
                stream.emplace();
            return true;
        };
        std::optional<core::Error> malformed;
        req.content_receiver = [&](const char* data, size_t n, uint64_t offset, uint64_t total) {
            if (stream) {
                try {
                    stream->feed(std::string_view(data, n));
                } catch (const core::Error& e) {
                    malformed = e;  // stops the transfer; told below, once the library is out of it
                    return false;
                }
                return true;
            }
            if (offset == 0 && total > 0 && total < (uint64_t{1} << 32)) body.reserve(static_cast<size_t>(total));
            body.append(data, n);
            return true;
        };
        auto res = impl_->client->send(req);
        if (malformed) {
            Close();  // the rest of that answer is still on its way
            throw *malformed;
        }
        if (!res) {
            const auto err = res.error();
            const std::string where = impl_->host + ":" + std::to_string(impl_->port);
            // The connection is no longer trusted; the next call reconnects.
            Close();
            if (err == httplib::Error::Connection) throw core::Error(unreachable(impl_->host, impl_->port));
            throw core::Error("Falha na comunicação com o servidor de aplicação " + where + " (" +
                              httplib::to_string(err) + ").");
        }
        try {
            if (stream) return stream->finish();
            // A proxy or an older server may still answer JSON: read what it says it sent.
            return core::decodeAnswer(body, core::wireOf(res->get_header_value("Content-Type")));
        } catch (const core::Error&) {
            if (res->status != 200)
                throw core::Error("O servidor de aplicação respondeu " + std::to_string(res->status) + " a " + module +
                                  "." + method + ".");
            throw;
        }
    };

    core::CallAnswer answer = send();
    if (sessionRefused(answer.result) && renewable(module, method)) {
        // Asked once, and never again from inside the password prompt (a repaint may call
        // the server while it is up); the refused call is repeated once with the new token.
        static thread_local bool renewing = false;
        bool renewed = false;
        if (!renewing) {
            renewing = true;
            try {
                renewed = renewSession();
            } catch (...) {
                renewing = false;
                throw;
            }
            renewing = false;
        }
        if (renewed) {
            if (!connected_) Open();
            answer = send();
        }
        if (sessionRefused(answer.result)) answer = {core::Variant::failure(kSessionExpired), {}};
    }
    if (answer.result.isError()) {
        if (ThrowException) throw ServerError(answer.result.error);
        return answer.result;
    }
    for (auto& [index, value] : answer.out) {
        if (index < 0 || index >= static_cast<int>(args.size()))
            throw core::Error("Resposta do servidor mal formada: argumento " + std::to_string(index) +
                              " inexistente em " + method + ".");
        args[index] = std::move(value);
    }
    return answer.result;
}

void CheckResultServ(const core::Variant& result, bool raise, int) {
    if (!result.isError()) return;
    if (raise) throw ServerError(result.error);
    host().showMessage(result.error, MsgType::Error);
}

void loadFromServer(core::RecordSet& set, const core::Variant& result) {
    CheckResultServ(result, true, 0);
    if (result.isPacket()) {
        set.setData(*result.packet);
        return;
    }
    core::Packet empty;
    empty.fields = set.fieldDefs();
    set.setData(empty);
}

void loadFromServer(core::RecordSet& set, core::Variant&& result) {
    // Nobody else holds this answer: its rows move into the set instead of being copied.
    if (!result.isError() && result.isPacket() && result.packet.use_count() == 1) {
        set.setData(std::move(*result.packet));
        return;
    }
    loadFromServer(set, static_cast<const core::Variant&>(result));
}

core::Variant saveToServer(TNetConnection& conn, core::RecordSet& set, const std::string& method,
                           std::vector<core::Variant> extra) {
    // A pending edit belongs to the save, as the host's apply does; a refused post keeps
    // the record in edit and sends nothing.
    if (set.state() == core::DataSetState::Edit || set.state() == core::DataSetState::Insert) set.post();
    core::Variant result;
    try {
        std::vector<core::Variant> args;
        args.reserve(extra.size() + 1);
        args.emplace_back(set.delta());
        for (auto& e : extra) args.push_back(std::move(e));
        result = conn.call(method, args);
        CheckResultServ(result, true, 0);
    } catch (...) {
        // Nothing half-saved stays on the screen: the rows return to what the server holds.
        set.cancelUpdates();
        throw;
    }
    set.mergeChangeLog();
    return result;
}

}  // namespace platform

#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/recordset.h"
#include "core/variant.h"

namespace platform {

// The server refused the call; what() is its code or message as sent.
class ServerError : public core::Error {
public:
    using core::Error::Error;
};

// The host's connection component to an application server module.
class TNetConnection {
public:
    explicit TNetConnection(std::string serverName = "MXA07300.rdmPedidoAna");
    ~TNetConnection();

    std::string ServerName;  // "MXA07300.rdmPedidoAna": the path is its part after the dot
    std::string Host = "127.0.0.1";
    int Port = 0;
    bool Tls = false;    // HTTPS; the server's certificate is always verified
    std::string CaFile;  // the authority that signed it; empty: the system's store
    bool ThrowException = false;
    // Runs before each connect; the screens set Host, Port, Tls and CaFile from the session here.
    std::function<void(TNetConnection&)> OnBeforeConnect;

    // Reaches the server (a real round trip); throws core::Error in the system's
    // words when it cannot be reached. Connecting when connected does nothing.
    void Open();
    void Close();
    bool Connected() const { return connected_; }

    // Late-bound call, arguments positional. By-reference arguments are written back
    // into `args` from the answer's "out". A refusal comes back as a Variant whose
    // error is set (CheckResultServ raises it); a transport failure throws core::Error.
    core::Variant call(const std::string& method, std::vector<core::Variant>& args);
    core::Variant call(const std::string& method, std::vector<core::Variant>&& args = {});

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool connected_ = false;
};

// The host's result check: raises ServerError with the server's message.
void CheckResultServ(const core::Variant& result, bool raise = true, int kind = 0);

// Result used as a record set's whole content (checked first). A non-packet result
// leaves the set open and empty.
void loadFromServer(core::RecordSet& set, const core::Variant& result);
void loadFromServer(core::RecordSet& set, core::Variant&& result);
// Sends the set's change log as the first argument of `method`, then `extra`.
// On success merges the change log and returns the result; on any failure the
// pending changes are discarded and the error propagates.
core::Variant saveToServer(TNetConnection& conn, core::RecordSet& set, const std::string& method,
                           std::vector<core::Variant> extra = {});

}  // namespace platform

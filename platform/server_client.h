#pragma once
#include <httplib.h>

#include <memory>
#include <string>

namespace platform {

// An HTTP client of the application server at host:port. With `tls` it speaks HTTPS
// and always verifies the server's certificate, host name included, against
// `caFile` or, when empty, the system's store. Throws core::Error when `caFile`
// cannot be read.
std::unique_ptr<httplib::Client> makeServerClient(const std::string& host, int port, bool tls,
                                                  const std::string& caFile);

// Why the first round trip to host:port failed, in the system's words, when the
// transport says more than "unreachable" (a refused certificate, HTTP against
// HTTPS); empty otherwise.
std::string transportFailure(const httplib::Client& client, httplib::Error error, const std::string& host, int port,
                             bool tls, const std::string& caFile);

}  // namespace platform

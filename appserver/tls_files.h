#pragma once
#include <string>

namespace appserver {

// Checks the server's HTTPS certificate and key before they are handed to the TLS
// layer, which only says "invalid": throws std::runtime_error naming the file that
// is missing, unreadable, not PEM, protected by a passphrase, or of another key.
// Nothing is checked when both are empty (plain HTTP).
void checkTlsFiles(const std::string& certFile, const std::string& keyFile);

}  // namespace appserver

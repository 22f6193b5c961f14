#pragma once
#include <optional>
#include <string>

namespace platform {

// What the user is told when the server no longer knows the session and no new
// login was given.
inline constexpr const char* kSessionExpired = "Sessão expirada. Entre novamente.";

// Checks the operator and password with the server (Host/Login) and, when they are
// accepted, fills the session's operator, name, branch and token. Answers the
// refusal in the system's words, or nothing on success.
std::optional<std::string> login(const std::string& operador, const std::string& senha);

// Closes the session on the server (Host/Logout) and forgets its token. Never
// throws: the program is on its way out, and an unreachable server ends the session
// by its idle time anyway.
void logout();

// The server refused the session: asks the logged-in operator's password through the
// host until a login succeeds (true) or the user gives up (false). A refused password
// is asked again with the refusal as the prompt.
bool renewSession();

}  // namespace platform

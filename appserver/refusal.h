#pragma once
#include "core/error.h"

namespace appserver {

// The server refuses an operation with a fixed code ("P_ALMOXORIG_CAD"); the
// client maps the code to its own message, so it travels unchanged.
class Refusal : public core::Error {
public:
    explicit Refusal(const std::string& code) : core::Error(code) {}
};

// A refusal whose writes stay: a wrong password is refused, and the failure it
// counts towards the lock-out must be kept all the same.
class RefusalKeepingWrites : public core::Error {
public:
    using core::Error::Error;
};

// The row a modify or delete was meant for no longer holds the values the client
// read: another operator saved it first.
inline constexpr const char* kRowChanged = "Registro alterado por outro usuário. Recarregue os dados.";

}  // namespace appserver

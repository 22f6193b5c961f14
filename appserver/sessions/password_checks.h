#pragma once
#include <soci/soci.h>

#include <string>

namespace appserver {

// Typed passwords are checked against the stored argon2id hash, and the checks of
// one operator are throttled: after kMaxPasswordFailures wrong passwords within
// kFailureWindowMinutes the operator's checks are refused for kLockMinutes,
// whatever the password. The count lives in the database, so every server of it
// counts together; a right password clears it.
inline constexpr int kMaxPasswordFailures = 5;
inline constexpr int kFailureWindowMinutes = 15;
inline constexpr int kLockMinutes = 15;

enum class PasswordVerdict { Match, Mismatch };

// Checks `typed` against `hash` for a known operator, in the call's (writing)
// transaction. Throws core::Error with the lock-out message while the operator is
// locked; a mismatch is counted (the caller must keep the call's writes).
PasswordVerdict checkPassword(soci::session& db, const std::string& operador, const std::string& typed,
                              const std::string& hash);

}  // namespace appserver

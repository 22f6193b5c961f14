#pragma once
#include <soci/soci.h>

#include <functional>
#include <string>

namespace appserver {

class Dialect;

// The next number of a per-branch sequence (table NUMERADOR), inside the caller's
// transaction: the counter row is created on first use, starting after what
// `startAfter` answers (so numbers already in the data are never handed out again), then
// incremented with one UPDATE, which the database serialises: two calls never get
// the same number, even from two server instances on one PostgreSQL database.
// Gaps (a rolled-back call) are allowed, repeats are not.
long long nextNumber(soci::session& db, const std::string& branch, const std::string& sequence,
                     const std::function<long long()>& startAfter = {});

// Numbers as the client keys them: "0000000123" (NRAUDITORIA), "007" (NRINSPECAUDI).
std::string zeroPadded(long long number, int width);

// The branch's next request number (NRAUDITORIA), after any already in AUDITORIA.
std::string nextRequestNumber(soci::session& db, const Dialect& dialect, const std::string& branch);

}  // namespace appserver

#pragma once
#include <soci/soci.h>

#include <memory>
#include <string>

namespace appserver {

// Who a call runs for: the operator and branch whose login opened the session.
struct LoginSession {
    std::string operador;
    std::string filial;
    std::string tokenHash;  // the session's key; the token itself is never stored
};

// Opens a session for the operator in the caller's transaction and answers its
// token: 256 random bits, hex. Only its hash is kept, so a copy of the database
// opens nobody's session.
std::string openLoginSession(soci::session& db, const std::string& operador, const std::string& filial);

// What became of a call's Authorization header. Every kind but Open is refused
// with the same code; the kinds only tell the log why.
enum class SessionCheck { Open, Absent, Malformed, Unknown, Idle };
const char* describe(SessionCheck check);

// The query every call's session check runs, prepared once on a connection: each
// call then only binds the token's hash and reads the row. It reads the table every
// time, so a session closed by another server over the same database is refused on
// the next call. Belongs to the connection it was made on and must go before it.
class SessionLookup {
public:
    explicit SessionLookup(soci::session& db);
    ~SessionLookup();
    SessionLookup(const SessionLookup&) = delete;
    SessionLookup& operator=(const SessionLookup&) = delete;
    // The session's operator, branch and last use (a day count); false when no
    // session has that hash.
    bool find(const std::string& tokenHash, std::string& operador, std::string& filial, double& lastUse);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The session an "Authorization: Bearer <token>" header names, when it is open and
// was used within `idleMinutes`. Records the use (at most once a minute, so
// reading calls seldom write). A session found idle is closed. `lookup` is the
// connection's own prepared query.
SessionCheck findLoginSession(soci::session& db, const std::string& authorization, int idleMinutes, LoginSession& found,
                              SessionLookup& lookup);

// Another operator typed a right password at this session's workstation (the
// authorization dialog): for a while the session may record changes that operator
// authorized. A trail naming an authorizer nobody proved is refused.
void recordPasswordProof(soci::session& db, const LoginSession& session, const std::string& operador);
bool hasPasswordProof(soci::session& db, const LoginSession& session, const std::string& operador);

void closeLoginSession(soci::session& db, const std::string& tokenHash);
// Sessions nobody closed (a program killed, a workstation switched off).
void closeIdleLoginSessions(soci::session& db, int idleMinutes);

}  // namespace appserver

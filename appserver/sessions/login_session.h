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
    double lastUse = 0;     // as recorded when the call began (a day count)
    bool useDue = false;    // the use is to be recorded once the call is over
};

// Opens a session for the operator in the caller's transaction and answers its
// token: 256 random bits, hex. Only its hash is kept, so a copy of the database
// opens nobody's session.
std::string openLoginSession(soci::session& db, const std::string& operador, const std::string& filial);

// What became of a call's Authorization header. Every kind but Open is refused
// with the same code; the kinds only tell the log why.
enum class SessionCheck { Open, Absent, Malformed, Unknown, Idle };
const char* describe(SessionCheck check);

// The query every call's session check runs, kept on its connection (on SQLite
// with the connection's other kept statements): each call then only binds the
// token's hash and reads the row. It reads the table every
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
// was used within `idleMinutes`. Only reads, so it runs inside the call's own
// transaction (one read of the database per call instead of two); what it found
// to write is left to finishSessionCheck. `lookup` is the connection's own
// prepared query. On Idle, `found` names the session to close.
SessionCheck findLoginSession(const std::string& authorization, int idleMinutes, LoginSession& found,
                              SessionLookup& lookup);
// What a check leaves to write, in a transaction of its own once the call is over, so
// a reading call's transaction never turns writer: an idle session is closed, and an
// open one's use recorded at most once a minute, so reading calls seldom write.
void finishSessionCheck(soci::session& db, SessionCheck check, const LoginSession& found);

// Another operator typed a right password at this session's workstation (the
// authorization dialog): for a while the session may record changes that operator
// authorized. A trail naming an authorizer nobody proved is refused.
void recordPasswordProof(soci::session& db, const LoginSession& session, const std::string& operador);
bool hasPasswordProof(soci::session& db, const LoginSession& session, const std::string& operador);

void closeLoginSession(soci::session& db, const std::string& tokenHash);
// Sessions nobody closed (a program killed, a workstation switched off).
void closeIdleLoginSessions(soci::session& db, int idleMinutes);

}  // namespace appserver

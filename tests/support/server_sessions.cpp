#include "support/server_sessions.h"

#include "support/test_writes.h"

namespace testsupport {

void endServerSessions() { writeToDatabase("DELETE FROM SESSAO"); }

}  // namespace testsupport

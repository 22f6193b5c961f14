#include "support/server_sessions.h"

#include <soci/soci.h>

#include "platform/host.h"

namespace testsupport {

void endServerSessions() {
    const auto& s = platform::session();
    soci::session db(s.dbBackend, s.dbConnect);
    db << "DELETE FROM SESSAO";
}

}  // namespace testsupport

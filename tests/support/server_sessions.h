#pragma once

namespace testsupport {

// Ends every session the server keeps, straight in the database the client session
// points at, as an idle time or a logout elsewhere would: the next call is refused.
void endServerSessions();

}  // namespace testsupport

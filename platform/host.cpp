#include "platform/host.h"

#include "platform/scripted_host.h"

namespace platform {

namespace {
ScriptedHost& defaultHost() {
    static ScriptedHost h;
    return h;
}
Host* current = nullptr;
}  // namespace

Host& host() {
    return current ? *current : defaultHost();
}

void setHost(Host* h) {
    current = h;
}

Session& session() {
    static Session s;
    return s;
}

}  // namespace platform

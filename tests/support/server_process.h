#pragma once
#include <string>

#include <sys/types.h>

namespace testsupport {

// The application server as its own program (the build's appserver), for tests that
// must kill it the hard way and start it again on the same database.
class ServerProcess {
public:
    // Starts `appserver --db ADDRESS --port PORT [--demo]` and waits until it answers.
    ServerProcess(const std::string& dbAddress, int port, bool demo);
    ~ServerProcess();  // stops it (SIGTERM) if still running
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int port() const { return port_; }
    // SIGKILL: no chance to finish a call, flush or close anything.
    void kill();

private:
    void waitReady();
    pid_t pid_ = -1;
    int port_ = 0;
};

// A loopback port nobody listens on right now.
int freeLoopbackPort();

}  // namespace testsupport

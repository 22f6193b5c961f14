#include "support/server_process.h"

#include <chrono>
#include <csignal>
#include <stdexcept>
#include <thread>
#include <vector>

#include <httplib.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace testsupport {

namespace {

void reap(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

ServerProcess::ServerProcess(const std::string& dbAddress, int port, bool demo) : port_(port) {
    std::vector<std::string> args = {MXA_APPSERVER_BIN, "--db", dbAddress, "--address", "127.0.0.1",
                                     "--port", std::to_string(port)};
    if (demo) args.push_back("--demo");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, MXA_APPSERVER_BIN, nullptr, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error(std::string("não foi possível iniciar ") + MXA_APPSERVER_BIN);
    waitReady();
}

ServerProcess::~ServerProcess() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    reap(pid_);
}

void ServerProcess::kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    reap(pid_);
    pid_ = -1;
}

void ServerProcess::waitReady() {
    // Seeding the demo hashes passwords and migrating a fresh database takes a moment.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("o servidor terminou ao iniciar");
        }
        httplib::Client client("127.0.0.1", port_);
        client.set_connection_timeout(0, 200000);
        if (auto res = client.Get("/ping"); res && res->status == 200) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    throw std::runtime_error("o servidor não respondeu em 60 s");
}

int freeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        if (fd >= 0) close(fd);
        throw std::runtime_error("nenhuma porta livre");
    }
    close(fd);
    return ntohs(addr.sin_port);
}

}  // namespace testsupport

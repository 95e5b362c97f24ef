#pragma once
// A simulator program run as a child process by a test: started with its arguments, its ready
// line read, driven over its line and its control socket, stopped by its pid.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "testsupport/Hex.h"

namespace sim::test {

// Upper bound for a step of the child; the tests never rely on timing within it.
constexpr int kChildStepMs = 10000;

inline bool readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, kChildStepMs) == 1;
}

// Up to `count` bytes as hex, fewer when the child stops sending.
inline std::string readHex(int fd, size_t count) {
    std::vector<uint8_t> bytes;
    uint8_t buffer[64];
    while (bytes.size() < count && readable(fd)) {
        ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, count - bytes.size()));
        if (n <= 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return testsupport::toHex(bytes);
}

inline std::string readLine(int fd) {
    std::string line;
    char c;
    while (readable(fd) && ::read(fd, &c, 1) == 1 && c != '\n') line += c;
    return line;
}

inline bool writeHex(int fd, const std::string &hex) {
    auto bytes = testsupport::hexBytes(hex);
    return ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

// The pty slave at `path` in raw mode at 10400 baud-like settings the simulators accept.
inline int openRawTty(const std::string &path) {
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    if (fd < 0 || ::tcgetattr(fd, &t) != 0) return -1;
    ::cfmakeraw(&t);
    t.c_cflag |= CSTOPB;
    ::tcsetattr(fd, TCSANOW, &t);
    return fd;
}

inline int connectTcp(uint16_t port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

class SimChild {
public:
    SimChild(const char *program, const std::vector<std::string> &args) {
        int out[2];
        if (::pipe(out) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            std::vector<char *> argv{const_cast<char *>(program)};
            for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(program, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ready_ = readLine(out[0]);
        ::close(out[0]);
    }
    ~SimChild() {
        if (control_ >= 0) ::close(control_);
        if (pid_ > 0) stop();
    }
    SimChild(const SimChild &) = delete;
    SimChild &operator=(const SimChild &) = delete;

    const std::string &ready() const { return ready_; }
    // The wait status; -1 when the child was never started or is already stopped.
    int stop() {
        if (pid_ <= 0) return -1;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }
    // The first answer line of a control command sent to the socket at `path`.
    std::string command(const std::string &path, const std::string &text) {
        if (control_ < 0) {
            control_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un addr{};
            addr.sun_family = AF_UNIX;
            std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
            if (::connect(control_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) return "no control socket";
        }
        std::string request = text + "\n";
        if (::write(control_, request.data(), request.size()) != static_cast<ssize_t>(request.size())) return "";
        return readLine(control_);
    }

private:
    pid_t pid_ = -1;
    int control_ = -1;
    std::string ready_;
};

}  // namespace sim::test

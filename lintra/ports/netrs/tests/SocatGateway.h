#pragma once
// socat as a transparent TCP serial gateway in front of a pseudo-terminal, run by a process
// test: the bytes pass raw both ways, each connection served by a child socat forks, as a
// device server in raw TCP mode serves its serial port. It listens on loopback, on a port of
// the kernel's choice or on the one given (to come back where the line looks for it), and is
// stopped by its pid together with the children serving connections.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace lintra::test {

class SocatGateway {
public:
    // Logs socat's notices to `log`, whose "listening on" line tells the port.
    SocatGateway(const std::string &device, std::filesystem::path log, uint16_t port = 0) : log_(std::move(log)) {
        // A port given back may still be taken for a moment by what the last gateway left.
        for (int attempt = 0; attempt < kAttempts && !port_; ++attempt) {
            if (attempt) std::this_thread::sleep_for(kPause);
            start(device, port);
        }
    }
    ~SocatGateway() { stop(); }
    SocatGateway(const SocatGateway &) = delete;
    SocatGateway &operator=(const SocatGateway &) = delete;

    // 0 when socat did not come to listen.
    uint16_t port() const { return port_; }

    // Drops every connection and stops listening.
    void stop() {
        if (pid_ <= 0) return;
        // Stopped, it accepts and forks no more, and its children stay its own to end.
        ::kill(pid_, SIGSTOP);
        for (pid_t child : children()) ::kill(child, SIGTERM);
        ::kill(pid_, SIGTERM);
        ::kill(pid_, SIGCONT);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    static constexpr int kAttempts = 50;
    static constexpr std::chrono::milliseconds kPause{100};
    static constexpr int kLookSteps = 1000;  // upper bound for the listening line: 10 s
    static constexpr std::chrono::milliseconds kLookStep{10};

    void start(const std::string &device, uint16_t port) {
        const std::string listen = "TCP-LISTEN:" + std::to_string(port) + ",bind=127.0.0.1,reuseaddr,fork";
        // cfmakeraw keeps the line's speed, which the simulator paces its answers by; rawer would
        // set it to 0.
        const std::string serial = "FILE:" + device + ",cfmakeraw";
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(fd, STDERR_FILENO);
            ::execlp("socat", "socat", "-d", "-d", listen.c_str(), serial.c_str(), nullptr);
            ::_exit(127);
        }
        if (pid_ < 0) return;
        const std::regex listening(R"(listening on AF=2 127\.0\.0\.1:(\d+))");
        for (int step = 0; step < kLookSteps; ++step) {
            std::smatch match;
            const std::string text = logText();
            if (std::regex_search(text, match, listening)) {
                port_ = static_cast<uint16_t>(std::stoi(match[1]));
                return;
            }
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {  // it could not listen
                pid_ = -1;
                return;
            }
            std::this_thread::sleep_for(kLookStep);
        }
        stop();
    }
    std::string logText() const {
        std::ifstream in(log_);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<pid_t> children() const {
        const std::string id = std::to_string(pid_);
        std::ifstream in("/proc/" + id + "/task/" + id + "/children");
        std::vector<pid_t> pids;
        for (pid_t child; in >> child;) pids.push_back(child);
        return pids;
    }

    std::filesystem::path log_;
    pid_t pid_ = -1;
    uint16_t port_ = 0;
};

}  // namespace lintra::test

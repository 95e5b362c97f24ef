#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

ChildProcess::ChildProcess(const std::string &program, const std::vector<std::string> &args,
                           const std::vector<std::pair<std::string, std::string>> &env) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const auto &arg : args) argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        for (const auto &[name, value] : env) setenv(name.c_str(), value.c_str(), 1);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    ::close(pipeFds[1]);
    out_ = pipeFds[0];
    if (pid_ < 0) throw std::runtime_error("fork failed");
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill();
        wait();
    }
    if (out_ >= 0) ::close(out_);
}

std::optional<std::string> ChildProcess::readLine() {
    for (;;) {
        if (auto end = pending_.find('\n'); end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        pollfd entry{out_, POLLIN, 0};
        if (poll(&entry, 1, 20000) <= 0) return std::nullopt;
        char chunk[256];
        ssize_t n = ::read(out_, chunk, sizeof chunk);
        if (n <= 0) return std::nullopt;
        pending_.append(chunk, n);
    }
}

void ChildProcess::kill() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
}

int ChildProcess::wait() {
    if (pid_ <= 0) return -1;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

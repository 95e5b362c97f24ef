#pragma once
// A helper program run as a real second process, its stdout read line by line; stopped by pid.
#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

class ChildProcess {
public:
    // env: variables to set in the child only.
    ChildProcess(const std::string &program, const std::vector<std::string> &args,
                 const std::vector<std::pair<std::string, std::string>> &env = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // The next line of output without its newline; nullopt at the end or after 20 s of silence.
    std::optional<std::string> readLine();
    void kill();
    // Exit status, or 128 + signal for a child that was killed.
    int wait();

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string pending_;
};

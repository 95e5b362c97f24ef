#pragma once
// The unix socket on which tests send control commands: accepts clients and cuts what they send
// into lines (a line longer than kMaxLine is refused rather than buffered without end).
#include <poll.h>

#include <functional>
#include <string>
#include <vector>

namespace sim {

class ControlSocket {
public:
    static constexpr size_t kMaxLine = 4096;

    ~ControlSocket();
    // False with the reason when the socket cannot be made.
    bool listen(const std::string &path, std::string &error);

    // Descriptors to watch: the listener, then every client.
    void addPollFds(std::vector<pollfd> &fds) const;
    // Serves ready descriptors; `execute` turns each complete line into its answer.
    void serve(const std::vector<pollfd> &fds, const std::function<std::string(const std::string &)> &execute);

private:
    struct Client {
        int fd;
        std::string pending;
    };
    bool readClient(Client &c, const std::function<std::string(const std::string &)> &execute);

    int listenFd_ = -1;
    std::string path_;
    std::vector<Client> clients_;
};

}  // namespace sim

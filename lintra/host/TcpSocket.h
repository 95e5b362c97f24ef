#pragma once
// A TCP client: connect by host name or dotted address and by service name or port number,
// send everything, receive with a time-out. Waits use poll() or the socket's own receive
// time-out, so any descriptor number works.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace lintra::host {

class TcpSocket {
public:
    static constexpr uint32_t kNoTimeout = UINT32_MAX;

    // Tries every address the name resolves to, each within timeoutMs. nullptr with *error set
    // on failure: the connect errno, ETIMEDOUT, or EADDRNOTAVAIL for a name or service that does
    // not resolve (the resolver's own text goes to the host log).
    static std::unique_ptr<TcpSocket> connect(const std::string &host, const std::string &service,
                                              uint32_t timeoutMs, int *error);
    ~TcpSocket();
    TcpSocket(const TcpSocket &) = delete;
    TcpSocket &operator=(const TcpSocket &) = delete;

    // True when every byte went within the time-out.
    bool sendAll(const uint8_t *data, size_t count, uint32_t timeoutMs);
    // Bytes received (1..capacity); 0 when nothing came within the time-out; -1 on an error or
    // when the peer closed the connection (lastError() is then ENOTCONN).
    int receive(uint8_t *buffer, size_t capacity, uint32_t timeoutMs);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    // For a wait on input beside other work (poll); the socket stays its owner's.
    int descriptor() const { return fd_; }
    int lastError() const { return lastError_; }

private:
    explicit TcpSocket(int fd) : fd_(fd) {}
    bool fail(int error);
    // Sets SO_RCVTIMEO unless it already holds this wait.
    bool setReceiveWait(uint32_t ms);

    int fd_;
    int lastError_ = 0;
    uint32_t receiveWaitMs_ = kNoTimeout;  // a new socket waits without limit
};

}  // namespace lintra::host

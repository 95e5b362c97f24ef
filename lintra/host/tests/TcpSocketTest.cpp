#include "lintra/host/TcpSocket.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>

using lintra::host::TcpSocket;

namespace {

// A loopback listener on a port the system picks.
class Listener {
public:
    Listener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(fd_, reinterpret_cast<sockaddr *>(&address), length) != 0 || ::listen(fd_, 4) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            ADD_FAILURE() << "listener: errno " << errno;
        port_ = std::to_string(ntohs(address.sin_port));
    }
    ~Listener() { close(); }
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    int accept() { return ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC); }
    const std::string &port() const { return port_; }

private:
    int fd_ = -1;
    std::string port_;
};

std::string receiveText(TcpSocket &socket, size_t count) {
    std::string text;
    uint8_t chunk[64];
    while (text.size() < count) {
        int n = socket.receive(chunk, std::min(sizeof chunk, count - text.size()), 5000);
        if (n <= 0) break;
        text.append(reinterpret_cast<char *>(chunk), n);
    }
    return text;
}

TEST(TcpSocket, ExchangesBytesWithAPeerNamedByAddressOrHostName) {
    Listener listener;
    for (const char *host : {"127.0.0.1", "localhost"}) {
        SCOPED_TRACE(host);
        int error = -1;
        auto socket = TcpSocket::connect(host, listener.port(), 2000, &error);
        ASSERT_NE(socket, nullptr) << "errno " << error;
        int peer = listener.accept();
        ASSERT_GE(peer, 0);

        const std::string request("\xA4\x05\x56\xF2\x00", 5);
        ASSERT_TRUE(socket->sendAll(reinterpret_cast<const uint8_t *>(request.data()), request.size(), 1000));
        char got[8] = {};
        ASSERT_EQ(::recv(peer, got, request.size(), MSG_WAITALL), 5);
        EXPECT_EQ(std::string(got, 5), request);

        ASSERT_EQ(::send(peer, "\xA6\x05\x57", 3, 0), 3);
        EXPECT_EQ(receiveText(*socket, 3), "\xA6\x05\x57");

        uint8_t none[4];
        EXPECT_EQ(socket->receive(none, sizeof none, 10), 0) << "nothing more came";
        ::close(peer);
    }
}

TEST(TcpSocket, PeerCloseIsReportedAsAnError) {
    Listener listener;
    auto socket = TcpSocket::connect("127.0.0.1", listener.port(), 2000, nullptr);
    ASSERT_NE(socket, nullptr);
    ::close(listener.accept());
    uint8_t buffer[4];
    EXPECT_EQ(socket->receive(buffer, sizeof buffer, 5000), -1);
    EXPECT_EQ(socket->lastError(), ENOTCONN);
    socket->close();
    EXPECT_FALSE(socket->sendAll(buffer, 1, 10));
    EXPECT_EQ(socket->lastError(), EBADF);
}

// Receives wait inside the socket and sends never block: every wait ends at its own time-out,
// whatever wait came before, and a peer that reads nothing cannot hold a send past its time-out.
TEST(TcpSocket, EveryWaitEndsAtItsOwnTimeOut) {
    Listener listener;
    auto socket = TcpSocket::connect("127.0.0.1", listener.port(), 2000, nullptr);
    ASSERT_NE(socket, nullptr);
    int peer = listener.accept();
    ASSERT_GE(peer, 0);
    ASSERT_EQ(::send(peer, "\xA6", 1, 0), 1);
    uint8_t buffer[4];
    EXPECT_EQ(socket->receive(buffer, sizeof buffer, 5000), 1);
    for (uint32_t timeoutMs : {0u, 10u, 0u}) {
        SCOPED_TRACE(timeoutMs);
        EXPECT_EQ(socket->receive(buffer, sizeof buffer, timeoutMs), 0);
    }
    const std::string bulk(48 << 20, '\x55');  // more than both socket buffers can ever hold
    EXPECT_FALSE(socket->sendAll(reinterpret_cast<const uint8_t *>(bulk.data()), bulk.size(), 50));
    EXPECT_EQ(socket->lastError(), ETIMEDOUT);
    ::close(peer);
}

TEST(TcpSocket, ConnectFailuresSayWhy) {
    Listener listener;
    std::string closedPort = listener.port();
    listener.close();
    struct Case {
        const char *host;
        std::string service;
        int error;
    } cases[] = {
        {"127.0.0.1", closedPort, ECONNREFUSED},
        {"127.0.0.1", "tcpmux", ECONNREFUSED},  // a service name resolves (port 1, nobody listens)
        {"127.0.0.1", "no-such-service", EADDRNOTAVAIL},
        {"not an address", "80", EADDRNOTAVAIL},
    };
    for (const auto &c : cases) {
        int error = 0;
        EXPECT_EQ(TcpSocket::connect(c.host, c.service, 2000, &error), nullptr) << c.host << ":" << c.service;
        EXPECT_EQ(error, c.error) << c.host << ":" << c.service;
    }
}

}  // namespace

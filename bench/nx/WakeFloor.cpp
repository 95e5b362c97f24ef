#include "bench/nx/WakeFloor.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

#include "bench/nx/CpuTime.h"
#include "sim/tests/SimChild.h"

namespace bench {

namespace {

// Both ends of a loopback TCP connection, as idle as the driver's link.
struct LoopbackPair {
    LoopbackPair() {
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{.sin_family = AF_INET, .sin_port = 0, .sin_addr = {htonl(INADDR_LOOPBACK)}, .sin_zero = {}};
        socklen_t length = sizeof address;
        if (::bind(listener, reinterpret_cast<sockaddr *>(&address), length) == 0 && ::listen(listener, 1) == 0 &&
            ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) == 0) {
            far = sim::test::connectTcp(ntohs(address.sin_port));
            near = far >= 0 ? ::accept(listener, nullptr, nullptr) : -1;
        }
        ::close(listener);
        if (near >= 0) return;
        if (far >= 0) ::close(far);
        throw std::runtime_error("no loopback connection");
    }
    ~LoopbackPair() {
        ::close(near);
        ::close(far);
    }
    int near = -1;
    int far = -1;
};

}  // namespace

double wakeFloorPercent(std::chrono::milliseconds window, std::chrono::milliseconds wait) {
    const LoopbackPair pair;
    double percent = 0;
    std::thread waker([&] {
        const auto begin = std::chrono::steady_clock::now();
        const double cpu0 = cpuSeconds(RUSAGE_THREAD);
        char buffer[1024];
        while (std::chrono::steady_clock::now() - begin < window) {
            pollfd input{.fd = pair.near, .events = POLLIN, .revents = 0};
            ::poll(&input, 1, static_cast<int>(wait.count()));
            (void)::recv(pair.near, buffer, sizeof buffer, MSG_DONTWAIT);
            ::sched_yield();
        }
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - begin;
        percent = (cpuSeconds(RUSAGE_THREAD) - cpu0) * 100 / wall.count();
    });
    waker.join();
    return percent;
}

}  // namespace bench

// Latency of event delivery: from the last byte of a polled panel message written to the line
// until the client has the record, by callback in this process and through the shared slots
// in another process. The panel is played by the benchmark on the master side of a
// pseudo-terminal: it answers every poll with the next stored message at once, so the figure
// is the library's own (read, conversion, delivery) plus the pty's hand-over.
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <sstream>
#include <vector>

#include "lintra/host/tests/ChildProcess.h"
#include "lintra/include/lintra.h"
#include "lintra/ports/PanelFrame.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"
#include "testsupport/TempDir.h"

namespace {

constexpr int kLine = 1;
constexpr uint8_t kAddress = 5;
constexpr int kStepMs = 5000;  // a broken build gives up after this

int64_t monotonicNs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// The panel side of the line: waits for a poll and answers it with stored message `number`
// (answer format 0, kind 3, first parameter = number modulo 256).
class PanelOnPty {
public:
    PanelOnPty() {
        char name[128];
        int slave = -1;
        if (::openpty(&master_, &slave, name, nullptr, nullptr) == 0) path_ = name;
        ::close(slave);
    }
    ~PanelOnPty() { ::close(master_); }
    const std::string &path() const { return path_; }

    // The time the answer's last byte was handed to the line, or 0 when no poll came.
    int64_t answerNextPoll(uint16_t number) {
        uint8_t request[16];
        pollfd entry{master_, POLLIN, 0};
        if (::poll(&entry, 1, kStepMs) != 1 || ::read(master_, request, sizeof request) <= 0) return 0;
        lintra::PanelFrame answer;
        const uint8_t params[] = {0x4E, 0xAC, 0x43, static_cast<uint8_t>(number), 0,
                                  static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number)};
        answer = lintra::PanelFrame::command(kAddress, 0x57, params);
        lintra::FrameChecksum(answer);
        const int64_t sent = monotonicNs();
        if (::write(master_, answer.bytes.data(), answer.length()) != answer.length()) return 0;
        return sent;
    }

private:
    int master_ = -1;
    std::string path_;
};

// Format 0 message numbers run 1..2049, then 0.
uint16_t nextNumber(uint16_t number) { return number < 2049 ? number + 1 : 0; }

struct Percentiles {
    std::vector<double> samplesUs;
    void report(benchmark::State &state) {
        if (samplesUs.empty()) return;
        std::sort(samplesUs.begin(), samplesUs.end());
        auto at = [&](double q) { return samplesUs[static_cast<size_t>(q * (samplesUs.size() - 1))]; };
        state.counters["p50_us"] = at(0.50);
        state.counters["p99_us"] = at(0.99);
        state.counters["max_us"] = samplesUs.back();
        state.counters["over_1ms"] = static_cast<double>(
            samplesUs.end() - std::upper_bound(samplesUs.begin(), samplesUs.end(), 1000.0));
    }
};

// The library loaded inside an isolated host, as the constructor of liblintra.so does it.
struct LoadedLibrary {
    testsupport::IsolatedHost host;
    LoadedLibrary() {
        lintra::CommonProcLoad();
        lintra::ComUnitLoad();
    }
    ~LoadedLibrary() {
        CloseCom(kLine);
        lintra::ComUnitUnload();
        lintra::CommonProcUnload();
    }
};

struct CallbackSink {
    std::mutex mutex;
    std::condition_variable arrived;
    int64_t at = 0;
    int number = -1;
};
CallbackSink sink;

intptr_t ignoreMessages(void *, uint32_t, uintptr_t, intptr_t) { return 0; }
intptr_t window = 0;

intptr_t eventCallback(void *record, intptr_t) {
    if (!record) return window;
    const int64_t now = monotonicNs();
    const auto *event = static_cast<const LintraEventRecord *>(record);
    if (event->code != 0x57) return 0;
    std::lock_guard lock(sink.mutex);
    sink.at = now;
    sink.number = event->data[1];
    sink.arrived.notify_one();
    return 0;
}

bool openLine(benchmark::State &state, const PanelOnPty &panel, intptr_t wnd) {
    if (StartPanel(kLine, panel.path().c_str(), wnd, kAddress) >= 1 && LCBCommand(kLine, 6, 0, nullptr) == 0) return true;
    state.SkipWithError("line not opened");
    return false;
}

// One polled message per iteration; receivedAt(p1) answers when the client had the record
// whose first parameter is p1, or 0 when it never came.
template <typename ReceivedAt>
void measure(benchmark::State &state, PanelOnPty &panel, ReceivedAt receivedAt) {
    Percentiles latency;
    uint16_t number = 0;
    for (auto _ : state) {
        number = nextNumber(number);
        const int64_t sent = panel.answerNextPoll(number);
        const int64_t at = sent ? receivedAt(static_cast<uint8_t>(number)) : 0;
        if (!at) {
            state.SkipWithError("no record");
            break;
        }
        const double us = static_cast<double>(at - sent) / 1000.0;
        latency.samplesUs.push_back(us);
        state.SetIterationTime(us / 1e6);
    }
    latency.report(state);
}

void BM_WireToCallback(benchmark::State &state) {
    LoadedLibrary library;
    PanelOnPty panel;
    window = LintraRegisterWindow(&ignoreMessages, nullptr);
    if (openLine(state, panel, reinterpret_cast<intptr_t>(&eventCallback)))
        measure(state, panel, [](uint8_t p1) -> int64_t {
            std::unique_lock lock(sink.mutex);
            if (!sink.arrived.wait_for(lock, std::chrono::milliseconds(kStepMs), [&] { return sink.number == p1; }))
                return 0;
            sink.number = -1;
            return sink.at;
        });
    LintraUnregisterWindow(window);
}
BENCHMARK(BM_WireToCallback)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

void BM_WireToCollectorProcess(benchmark::State &state) {
    LoadedLibrary library;
    PanelOnPty panel;
    if (!openLine(state, panel, 0)) return;
    ChildProcess collector(LINTRA_CLIENT_PROBE, {"collect", std::to_string(kLine), std::to_string(state.max_iterations)});
    if (collector.readLine() != "ready") {
        state.SkipWithError("collector not ready");
        return;
    }
    measure(state, panel, [&](uint8_t p1) -> int64_t {
        std::istringstream fields(collector.readLine().value_or(""));
        std::string word;
        int number = -1;
        int64_t at = 0;
        fields >> word >> number >> at;
        return word == "msg" && number == p1 ? at : 0;
    });
}
BENCHMARK(BM_WireToCollectorProcess)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

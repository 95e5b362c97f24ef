#pragma once
// The transmit step of a line-controller line (the work of its TOutThread): ask for the line
// with RTS while frames wait, and hand the oldest frame to the master once the controller grants
// the line with DSR. A step is late when more than 5 ms lie between now and its time stamp.
#include <atomic>
#include <cstdint>

#include "lintra/host/Port.h"
#include "lintra/ports/lcb/LcbMaster.h"
#include "lintra/ports/lines/PortControl.h"
#include "platform/Clock.h"

namespace lintra {

class TLcbTransmitter {
public:
    static constexpr uint64_t kLateMs = 5;

    TLcbTransmitter(Port &port, tessel::Clock &clock, TLCBMaster &master, TFrameQueue &queue)
        : port_(port), clock_(clock), master_(master), queue_(queue) {}

    void Step();
    // The thread's end: the line is let go.
    void DropRts();
    bool rtsRaised() const { return rtsRaised_.load(); }

private:
    bool late() const;
    void raiseRts();

    Port &port_;
    tessel::Clock &clock_;
    TLCBMaster &master_;
    TFrameQueue &queue_;
    std::atomic<bool> rtsRaised_{false};
    uint64_t stamp_ = 0;
};

}  // namespace lintra

#pragma once
// TPortControl: the base of every line control. It owns the line's outgoing frame queue and
// knows how the line's records reach its client (shared memory, a window or a callback); the
// line kinds add their port or socket, their threads and their protocol.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "lintra/ports/EventRecord.h"
#include "lintra/ports/PanelFrame.h"
#include "lintra/ports/delivery/EventDelivery.h"
#include "lintra/ports/queues.h"

namespace lintra {

using TFrameQueue = TQueue<PanelFrame>;

class TPortControl : public TDeliveryLine {
public:
    // Capacity of the outgoing queue of panel and line-controller lines (frames of 16 bytes).
    static constexpr size_t kOutQueueCapacity = 10400;

    TPortControl(const TPortControl &) = delete;
    TPortControl &operator=(const TPortControl &) = delete;
    // Sets the terminating flag; a subclass stops its threads before its own members go.
    virtual ~TPortControl();

    // Opens the line's port (or joins the lines already on it). False when it cannot be opened.
    virtual bool InitCom(const std::string &port, int line) = 0;
    // Reopens the port with the line's settings; false on failure.
    virtual bool ReInitCom() = 0;
    // Queues a frame for the line's thread, or acts on an internal frame (address 0xFB).
    // The free places of the queue after the put, or -1 for an internal frame it does not know.
    virtual int SendComMsg(const PanelFrame &frame, int priority) = 0;
    // The single delivery point of every record the line makes. In shared-memory mode it may
    // wait for the collector; it gives up once the line is terminating.
    virtual void SendEvInfo(EventRecord &record);
    // Once only: passes the stop frame (4, 0xFB, 0x65) to SendComMsg and marks the line closed.
    virtual void StopLine();
    // A serial line-controller line, whose controller takes the frames of the queue as they
    // are: CloseCom makes the stop frame the next to be sent before it lets the queue drain,
    // and LCBCommand slows down a caller whose frames fill the queue.
    virtual bool IsLcbControl() const { return false; }

    // The message number CloseCom keeps for the line in reqst.dat; panel lines only.
    virtual std::optional<uint16_t> messageNumberToKeep() const { return std::nullopt; }

    // True for exactly one caller: the one that closes the line.
    bool claimClose() { return !closeClaimed_.exchange(true); }

    int line() const { return line_; }
    const std::string &portName() const { return portName_; }
    // A closed line refuses commands; its queue still drains.
    bool closed() const { return closed_.load(); }
    // Set when the line is being destroyed; a delivery waiting for a collector gives up.
    bool terminating() const { return terminating_.load(); }

    TFrameQueue &outQueue() { return *outQueue_; }
    const TFrameQueue &outQueue() const { return *outQueue_; }

    // Where the line's records go (shared memory, window or callback), set by the start export.
    const TEventTarget &eventTarget() const { return target_; }
    void setEventTarget(const TEventTarget &target) { target_ = target; }

    int DeliveryLineNumber() const override { return line_; }
    bool DeliveryClosing() const override { return terminating(); }

    // Answer counter: positive = consecutive good reads, negative = consecutive failures.
    virtual int32_t answerCounter() const = 0;

protected:
    explicit TPortControl(int line);
    void setPortName(std::string name) { portName_ = std::move(name); }
    // Raises the terminating flag and wakes a delivery waiting for a collector.
    void markTerminating();

private:
    const int line_;
    std::string portName_;
    std::unique_ptr<TFrameQueue> outQueue_;
    TEventTarget target_;
    std::atomic<bool> closed_{false};
    std::atomic<bool> closeClaimed_{false};
    std::atomic<bool> terminating_{false};
};

}  // namespace lintra

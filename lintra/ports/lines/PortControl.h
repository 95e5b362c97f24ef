#pragma once
// TPortControl: the base of every line control. It owns the line's outgoing frame queue and
// knows how the line's records reach its client (shared memory, a window or a callback); the
// line kinds add their port or socket, their threads and their protocol.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "lintra/ports/EventRecord.h"
#include "lintra/ports/PanelFrame.h"
#include "lintra/ports/queues.h"

namespace lintra {

using TFrameQueue = TQueue<PanelFrame>;

// How a line hands its records to the client, fixed by the start export.
struct TClientLink {
    bool sharedMemory = false;  // records go to the line's slot of "LintraGlobalData"
    intptr_t window = 0;        // registered window receiving message 1124, or 0
    intptr_t callback = 0;      // callback address (record, 0), or 0
};

class TPortControl {
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

    int line() const { return line_; }
    const std::string &portName() const { return portName_; }
    // A closed line refuses commands; its queue still drains.
    bool closed() const { return closed_.load(); }
    // Set when the line is being destroyed; a delivery waiting for a collector gives up.
    bool terminating() const { return terminating_.load(); }
    const std::atomic<bool> &terminatingFlag() const { return terminating_; }

    TFrameQueue &outQueue() { return *outQueue_; }
    const TFrameQueue &outQueue() const { return *outQueue_; }

    const TClientLink &clientLink() const { return client_; }
    void setClientLink(const TClientLink &client) { client_ = client; }

    // Answer counter: positive = consecutive good reads, negative = consecutive failures.
    virtual int32_t answerCounter() const = 0;

protected:
    explicit TPortControl(int line);
    void setPortName(std::string name) { portName_ = std::move(name); }
    void markTerminating() { terminating_.store(true); }

private:
    const int line_;
    std::string portName_;
    std::unique_ptr<TFrameQueue> outQueue_;
    TClientLink client_;
    std::atomic<bool> closed_{false};
    std::atomic<bool> terminating_{false};
};

}  // namespace lintra

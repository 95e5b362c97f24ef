#pragma once
// TCommLine: one line of a network controller. It belongs to a driver, sits in one of the
// driver's 33 slots (its line number) and does its protocol work on the driver's thread, where
// the driver hands it events through Notify. Clients reach it through line commands (DoCmd) on
// their own threads.
#include <atomic>
#include <cstdint>

#include "lintra/nx/CommBuff.h"
#include "lintra/nx/ParamList.h"

namespace lintra {
class TDumbQueue;
}

namespace lintra::nx {

class TCommDriver;

class TCommLine {
public:
    // The driver's events to its lines (Notify).
    enum Event : int32_t {
        evNone = 0,
        evConnect = 1,
        evDisconnect = 2,
        evReadPkt = 6,
        evServe = 8,
        evServeAgain = 9,
        evShutdown = 10,
    };

    TCommLine(const TCommLine &) = delete;
    TCommLine &operator=(const TCommLine &) = delete;
    // Leaves the driver's slot and the line table.
    virtual ~TCommLine();

    // Deletes the line once no pass of its driver is running.
    static void Destroy(TCommLine *line);
    // Set by the create path: the line table handle, then the slot AddLine answered.
    void SetHandle(int32_t handle) { handle_ = handle; }
    void SetLineNumber(int32_t lineNumber) { lineNumber_ = lineNumber; }

    // Takes the list when one is given.
    virtual bool Init(const TParamList *params);
    virtual int32_t DoCmd(int32_t cmd, intptr_t p1, intptr_t p2);
    virtual int32_t Serve() = 0;
    // A disabled line ignores every event (0).
    virtual int32_t Notify(int32_t event, TCommBuff *buffer);
    virtual void Ev_Connect() = 0;
    virtual void Ev_Disconnect() = 0;
    virtual int32_t Ev_ReadPkt(TCommBuff &buffer) = 0;
    virtual int32_t SendBuf(const uint8_t *bytes, int32_t length) = 0;
    virtual void Shutdown() = 0;

    int32_t Handle() const { return handle_; }
    TCommDriver &Driver() const { return driver_; }
    int32_t LineNumber() const { return lineNumber_; }
    int32_t Tag() const { return tag_; }
    const TParamList &Params() const { return params_; }
    int32_t TypeDigit() const { return typeDigit_; }
    int32_t LineType() const { return lineType_; }
    bool Open() const { return open_; }
    bool Enabled() const { return enabled_; }

protected:
    explicit TCommLine(TCommDriver &driver);

    // Created by the concrete line; the base answers the queue figures from them.
    TDumbQueue *sendQueue_ = nullptr;
    TDumbQueue *rcvQueue_ = nullptr;
    bool open_ = false;
    bool enabled_ = false;   // set by the concrete line at the end of its construction
    int32_t typeDigit_ = -1;  // the line's protocol digit in the controller's configuration
    int32_t lineType_ = 0;    // the Driver API line type

private:
    TCommDriver &driver_;
    int32_t handle_ = -1;
    int32_t lineNumber_ = -1;
    std::atomic<int32_t> tag_{0};  // set by clients, read by nothing of the library
    TParamList params_;
};

}  // namespace lintra::nx

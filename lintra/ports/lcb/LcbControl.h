#pragma once
// TLCBControl: a line-controller line on a serial port. The controller polls its units itself;
// this side queues the client's frames, hands them over under the RTS/DSR handshake (the
// transmit thread), takes whatever frames the controller sends (the receive thread) and
// supervises it (the master's timer thread). Tests open it on a fake port without threads and
// run the steps themselves.
#include <atomic>
#include <memory>
#include <shared_mutex>
#include <string>

#include "lintra/host/Port.h"
#include "lintra/ports/commands/ControllerLine.h"
#include "lintra/ports/lcb/LcbMaster.h"
#include "lintra/ports/lcb/LcbReceiver.h"
#include "lintra/ports/lcb/LcbTransmitter.h"
#include "lintra/ports/lines/ControllerPort.h"
#include "lintra/ports/lines/LoopThread.h"
#include "lintra/ports/lines/PortControl.h"
#include "platform/Clock.h"

namespace lintra {

class TLCBControl : public TPortControl, public TControllerLine, public TLcbMasterLine {
public:
    static constexpr uint32_t kPulseMs = 100;
    static constexpr uint32_t kReopenPauseMs = 10;

    static constexpr uint32_t kTransmitPauseMs = 3;
    static constexpr uint32_t kReceivePauseMs = 1;
    static constexpr uint32_t kFirstPauseMs = 1000;
    static constexpr uint32_t kShutdownPauseMs = 5;

    explicit TLCBControl(int line, tessel::Clock &clock = tessel::SteadyClock::instance());
    // Stops the timer, receive and transmit threads (RTS drops as the last one ends), then the
    // master goes and the port closes.
    ~TLCBControl() override;

    // Opens the serial device the port name stands for; false (after the message box) when it
    // cannot be opened.
    bool InitCom(const std::string &port, int line) override;
    // Opens the device with opener (again on every reopening): time-outs, line settings, master,
    // receive and transmit sides, the control-line pulse; with threads the line starts working
    // at once. False when the device cannot be opened.
    bool Open(TControllerPort::Opener opener, bool threads);
    // Pauses the line and, with the receive and transmit sides held, closes the device, opens
    // it again and pulses the control lines. False when it could not be opened again; the next
    // supervision period tries once more.
    bool ReInitCom() override;
    // Signs the frame (internal frames included: the controller acts on them) and queues it.
    int SendComMsg(const PanelFrame &frame, int priority) override;
    // No answer counter: CloseCom drains the queue for as long as it allows.
    int32_t answerCounter() const override { return 0; }
    bool IsLcbControl() const override { return true; }
    ControllerLink controllerLink() const override { return ControllerLink::Serial; }

    // The steps the threads run.
    void TransmitStep();
    void ReceiveStep();
    void SupervisionStep() { master_->SupervisionStep(); }
    // A command another program left in the ControllerMailbox for this line.
    void ServeMailbox();
    // DTR and RTS on for 100 ms, then off; RTS again when the transmit side has it raised.
    void PulseControlLines();

    bool paused() const { return paused_.load(); }
    TLCBMaster &master() { return *master_; }
    const TLcbTransmitter &transmitter() const { return *transmitter_; }

private:
    int masterLine() const override { return line(); }
    void DeliverFrame(const PanelFrame &frame) override;
    // Master, receive and transmit sides over the open port, the control-line pulse, and with
    // threads the line's threads. True.
    bool start(bool threads);
    void startThreads();
    void stopThreads();

    tessel::Clock &clock_;
    TControllerPort port_;
    std::unique_ptr<TLCBMaster> master_;
    std::unique_ptr<TLcbReceiver> receiver_;
    std::unique_ptr<TLcbTransmitter> transmitter_;
    std::unique_ptr<TLoopThread> timer_, comThread_, outThread_;
    std::atomic<bool> paused_{false};
    // Shared by each transmit and receive step, taken whole while the port is reopened; a
    // step delivers its records after letting go of it.
    std::shared_mutex portUse_;
};

}  // namespace lintra

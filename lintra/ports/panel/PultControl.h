#pragma once
// TPultControl: a panel line, one M50 panel by its one-byte address on a serial port. The
// polling is TPultPolling's and the link TPultLink's; this class opens or joins the serial
// port, takes the panel exports (queued commands, the direct exchange, the reset request) and
// keeps the line's message number from one opening to the next.
#include <cstdint>
#include <memory>
#include <string>

#include "lintra/ports/lines/PultPolling.h"

namespace lintra {

class TPultControl : public TPultPolling {
public:
    // How long a direct exchange waits for the port lock before it gives up.
    static constexpr uint32_t kDirectLockWaitMs = 1300;

    // The open panel line on the device (TPanelPort::DeviceOf), or with address >= 0 the one
    // with that panel address there; nullptr when there is none.
    static std::shared_ptr<TPultControl> FindOnDevice(const std::string &device, int address = -1);

    TPultControl(int line, uint8_t address, tessel::Clock &clock = tessel::SteadyClock::instance());
    // Stores the message number and leaves the port, waiting for a step of the line in
    // progress; never on the port's polling thread (CloseCom hands such a close over).
    ~TPultControl() override;

    // Joins the panel line already open on the same port name, or opens the port and starts
    // its polling thread. False when the port cannot be opened (after the message box) or the
    // address slot of the port is taken.
    bool InitCom(const std::string &port, int line) override;
    // Applies the line's speed mode to the port again.
    bool ReInitCom() override;
    // Internal frames switch message polling (0x66 on, 0x65 off; others give -1). Any other
    // frame is signed and queued; the result is the queue's free places.
    int SendComMsg(const PanelFrame &frame, int priority) override;
    // Takes the line's stored message number; the link saves the line state as it goes.
    bool JoinPort(std::shared_ptr<TPanelPort> port, bool owner) override;

    std::optional<uint16_t> messageNumberToKeep() const override { return currentMsgNumber(); }

    // ChangePultMode under the port lock; false when it stayed busy.
    bool ChangePultModeLocked();
    // The direct exchange under the port lock; reply is always filled (code 0x65 when the
    // panel is silent or the port lock stayed busy for kDirectLockWaitMs).
    void SendCmdGetRepl(const PanelFrame &command, EventRecord &reply);
    // The next message or status answer delivered makes the requested number current.
    void RequestReset() {
        if (TPultLink *link = mutableLink()) link->setResetRequest(true);
    }
};

}  // namespace lintra

#pragma once
// The library as the engine's tests see it: a simulated panel's memory behind SendCmdGetReply,
// every call written down, and answers a test scripts in place of the panel's.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "sim/panel/Panel.h"
#include "zaltor/shell/binding/LintraCalls.h"

namespace zaltor::testing {

// An exchange as the engine asked for it.
struct Exchange {
    uint16_t command;
    std::vector<uint8_t> params;
};

// What a scripted exchange gives in place of the panel's answer.
struct Scripted {
    int32_t result = 0;
    uint16_t code = 101;  // the reply code when result is 0
    bool raises = false;
    std::vector<uint8_t> data = {};  // the reply's data bytes (at most 10)
};

class ScriptedPanel : public shell::TLintraCalls {
public:
    // The clock moves by exchangeMs per exchange, as a real one takes time on the wire.
    explicit ScriptedPanel(tessel::ManualClock &clock, uint8_t address = 5);

    sim::Panel panel;
    uint64_t exchangeMs = 20;
    // Consulted before the panel on every exchange; nullopt lets the panel answer.
    std::function<std::optional<Scripted>(const Exchange &)> script;
    // Results of the other calls.
    int32_t startResult = 1;
    int32_t driverResult = 4;
    int32_t lineIdResult = 7;
    bool startRaises = false;
    bool pollingRaises = false;
    bool closeRaises = false;

    // Every call but the exchanges, as "Name arg arg ..."; exchanges as "SendCmdGetReply code".
    std::vector<std::string> calls;
    std::vector<Exchange> exchanges;

    // "92: 01 00 05 42" per exchange, from the first one numbered `from`.
    std::vector<std::string> exchangeTexts(size_t from = 0) const;
    size_t count(uint16_t command) const;

    void CloseCom(int32_t line) override;
    int32_t LCBCommand(uint16_t line, uint16_t cmd, uint16_t count, const uint8_t *params) override;
    int32_t SendCmdGetReply(uint16_t line, int32_t address, uint16_t cmd, uint16_t count, const uint8_t *params,
                            LintraEventRecord *reply) override;
    int32_t SendPultCommand(uint16_t line, int32_t address, uint16_t cmd, uint16_t count,
                            const uint8_t *params) override;
    int32_t StartPanel(int32_t line, const char *port, intptr_t wnd, uint16_t address) override;
    int32_t DriverCreate(int32_t type, const char *params) override;
    int32_t DriverDoCmd(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2) override;
    int32_t DriverLineCreate(int32_t driver, int32_t slot, int32_t lineType, const char *params) override;
    int32_t DriverLineDoCmd(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2) override;

private:
    tessel::ManualClock &clock_;
};

}  // namespace zaltor::testing

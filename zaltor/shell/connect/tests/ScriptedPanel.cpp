#include "zaltor/shell/connect/tests/ScriptedPanel.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "testsupport/Hex.h"

namespace zaltor::testing {

ScriptedPanel::ScriptedPanel(tessel::ManualClock &clock, uint8_t address)
    : panel(address, sim::AnswerFormat::Short, sim::CivilTime{2026, 6, 15, 12, 0, 0}, clock.nowMs()),
      clock_(clock) {}

std::vector<std::string> ScriptedPanel::exchangeTexts(size_t from) const {
    std::vector<std::string> texts;
    for (size_t i = from; i < exchanges.size(); ++i)
        texts.push_back(std::to_string(exchanges[i].command) + ": " + testsupport::toHex(exchanges[i].params));
    return texts;
}

size_t ScriptedPanel::count(uint16_t command) const {
    return std::count_if(exchanges.begin(), exchanges.end(), [&](const Exchange &e) { return e.command == command; });
}

void ScriptedPanel::CloseCom(int32_t line) {
    calls.push_back("CloseCom " + std::to_string(line));
    if (closeRaises) throw std::runtime_error("CloseCom");
}

int32_t ScriptedPanel::LCBCommand(uint16_t line, uint16_t cmd, uint16_t count, const uint8_t *) {
    calls.push_back("LCBCommand " + std::to_string(line) + " " + std::to_string(cmd) + " " + std::to_string(count));
    if (pollingRaises) throw std::runtime_error("LCBCommand");
    return 0;
}

int32_t ScriptedPanel::SendCmdGetReply(uint16_t line, int32_t, uint16_t cmd, uint16_t count, const uint8_t *params,
                                       LintraEventRecord *reply) {
    Exchange exchange{cmd, std::vector<uint8_t>(params, params + count)};
    calls.push_back("SendCmdGetReply " + std::to_string(cmd));
    exchanges.push_back(exchange);
    clock_.advance(exchangeMs);
    if (script) {
        if (const auto scripted = script(exchange)) {
            if (scripted->raises) throw std::runtime_error("SendCmdGetReply");
            if (scripted->result == 0) {
                *reply = LintraEventRecord{};
                reply->line = line;
                reply->code = scripted->code;
                reply->data_length = static_cast<uint16_t>(std::min(scripted->data.size(), sizeof reply->data));
                std::copy_n(scripted->data.begin(), reply->data_length, reply->data);
            }
            return scripted->result;
        }
    }
    const sim::Bytes request = sim::makeFrame(panel.address(), static_cast<uint8_t>(cmd), exchange.params);
    const auto answer = panel.answer(request, clock_.nowMs());
    *reply = LintraEventRecord{};
    reply->line = line;
    if (!answer) {
        reply->code = 101;
        return 0;
    }
    // Answer frame: length, address, code, data, checksum.
    const sim::Bytes &frame = *answer;
    reply->address = frame[1];
    reply->code = frame[2];
    reply->data_length = static_cast<uint16_t>(std::min<size_t>(frame.size() - 4, sizeof reply->data));
    std::memcpy(reply->data, frame.data() + 3, reply->data_length);
    return 0;
}

int32_t ScriptedPanel::SendPultCommand(uint16_t line, int32_t, uint16_t cmd, uint16_t, const uint8_t *) {
    calls.push_back("SendPultCommand " + std::to_string(line) + " " + std::to_string(cmd));
    return 0;
}

int32_t ScriptedPanel::StartPanel(int32_t line, const char *port, intptr_t wnd, uint16_t address) {
    calls.push_back("StartPanel " + std::to_string(line) + " " + port + " " + std::to_string(wnd) + " " +
                    std::to_string(address));
    if (startRaises) throw std::runtime_error("StartPanel");
    return startResult;
}

int32_t ScriptedPanel::DriverCreate(int32_t type, const char *params) {
    calls.push_back("DriverCreate " + std::to_string(type) + " " + params);
    return driverResult;
}

int32_t ScriptedPanel::DriverDoCmd(int32_t handle, int32_t cmd, intptr_t, intptr_t) {
    calls.push_back("DriverDoCmd " + std::to_string(handle) + " " + std::to_string(cmd));
    return 0;
}

int32_t ScriptedPanel::DriverLineCreate(int32_t driver, int32_t slot, int32_t lineType, const char *params) {
    calls.push_back("DriverLineCreate " + std::to_string(driver) + " " + std::to_string(slot) + " " +
                    std::to_string(lineType) + " " + (params ? params : "null"));
    return lineIdResult;
}

int32_t ScriptedPanel::DriverLineDoCmd(int32_t handle, int32_t cmd, intptr_t, intptr_t) {
    calls.push_back("DriverLineDoCmd " + std::to_string(handle) + " " + std::to_string(cmd));
    return 0;
}

}  // namespace zaltor::testing

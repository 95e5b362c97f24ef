#pragma once
// The line controller of lcb-sim behind the serving loop: bare frames from the PC, its
// acknowledgements in reply, forwarded events and idle frames sent of its own accord.
#include "sim/lcb/ControllerControl.h"
#include "sim/serve/FramedStream.h"
#include "sim/serve/LineResponder.h"

namespace sim {

class ControllerResponder : public LineResponder {
public:
    ControllerResponder(LineController &controller, ControlHooks hooks)
        : controller_(controller), control_(controller, std::move(hooks)) {}

    std::unique_ptr<StreamReader> openStream(WireLog &log) override {
        return std::make_unique<FramedStream>(log, [this](std::span<const uint8_t> frame, uint64_t nowMs, int) {
            return controller_.receive(frame, nowMs);
        });
    }
    std::vector<Transmission> unasked(uint64_t nowMs) override { return controller_.due(nowMs); }
    std::optional<uint64_t> nextUnaskedMs() const override { return controller_.nextDueMs(); }
    std::string control(const std::string &command, uint64_t) override { return control_.execute(command); }

private:
    LineController &controller_;
    ControllerControl control_;
};

}  // namespace sim

#pragma once
// The M50 panels of m50-sim behind the serving loop: bare frames on every stream, answered by
// the panel line, and the panel control language.
#include "sim/panel/ControlCommands.h"
#include "sim/panel/PanelLine.h"
#include "sim/serve/FramedStream.h"
#include "sim/serve/LineResponder.h"

namespace sim {

class PanelResponder : public LineResponder {
public:
    PanelResponder(PanelLine &line, ControlHooks hooks) : line_(line), interpreter_(line, std::move(hooks)) {}

    std::unique_ptr<StreamReader> openStream(WireLog &log) override {
        return std::make_unique<FramedStream>(log, [this](std::span<const uint8_t> frame, uint64_t nowMs, int mode) {
            return line_.receive(frame, nowMs, mode);
        });
    }
    std::string control(const std::string &command, uint64_t nowMs) override {
        return interpreter_.execute(command, nowMs);
    }

private:
    PanelLine &line_;
    ControlInterpreter interpreter_;
};

}  // namespace sim

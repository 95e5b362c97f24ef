#pragma once
// A sequence over an open connection (line 3, address 5) to the simulated panel.
#include <optional>
#include <string>
#include <vector>

#include "zaltor/shell/connect/tests/EngineFixture.h"

namespace zaltor::testing {

struct SequenceFixture : EngineFixture {
    SequenceFixture() {
        connection.line = 3;
        connection.address = 5;
        connection.lineStarted = true;
    }

    // The panel stays silent on the command whose first parameter is `first` (any, when none).
    void silentOn(uint16_t command, std::optional<uint8_t> first = std::nullopt) {
        panel.script = [=](const Exchange &e) -> std::optional<Scripted> {
            if (e.command == command && (!first || (!e.params.empty() && e.params[0] == *first))) return Scripted{};
            return std::nullopt;
        };
    }

    // Clears the operation flag once the status line shows `line`, as an abort request would.
    void abortAt(const std::string &line) {
        ui.onEvents = [this, line] {
            if (!ui.statusLines.empty() && ui.statusLines.back() == line) state.operation = false;
        };
    }

    shell::PanelConnection connection;
};

}  // namespace zaltor::testing

#pragma once
// One configuration command exchanged with the panel: progress, log lines, attempts with pauses,
// and the error report that ends a sequence.
#include <array>
#include <cstdint>
#include <string>

#include "lintra/include/lintra.h"
#include "zaltor/shell/connect/EngineContext.h"
#include "zaltor/shell/connect/PanelConnection.h"

namespace zaltor::shell {

struct PanelCommand {
    uint16_t code = 0;
    std::array<uint8_t, 12> params{};  // the first `count` bytes are sent
    uint16_t count = 0;
};

struct StepTexts {
    int item = 0;          // the number shown with the progress text
    std::string progress;
    std::string numberedError;  // complete with its number and ". " where it has them
    std::string shortError;     // shown when the step raises an exception
    std::string logCaption;
};

// The step's result when an exception ended it.
inline constexpr int kStepRaised = -1;

// Sends the command up to ReplayParam times while the panel gives no valid answer, pausing
// SleepParam after each attempt that may be followed by another. A refusal by the library (1..5)
// or no valid answer is reported, logged and closes the connection. Answers 0 when the panel
// answered (the reply is then the panel's); anything else means the sequence must stop.
int commandStep(EngineContext &ctx, PanelConnection &connection, const PanelCommand &command,
                const StepTexts &texts, LintraEventRecord &reply);

}  // namespace zaltor::shell

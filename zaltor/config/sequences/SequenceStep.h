#pragma once
// One command of a configuration sequence and the rules every sequence runs it by.
#include <functional>
#include <optional>
#include <string>

#include "zaltor/config/ConfigRecord.h"
#include "zaltor/config/sequences/SequenceResult.h"
#include "zaltor/shell/connect/CommandStep.h"

namespace zaltor {

// Poll-order slots of a panel, each written and read by both sequences.
inline constexpr int kPollSlots = 50;

struct PlannedStep {
    shell::PanelCommand command;
    shell::StepTexts texts;
    bool checksFlag = false;  // the operation flag is tested before the command
};

// The error text of a numbered item: text + number + ". ".
std::string numbered(std::string_view text, int number);

// Tests the flag where the step asks for it (a cleared flag closes the connection) and runs the
// command step. nullopt: go on; otherwise how the sequence ends.
std::optional<SequenceResult> runStep(shell::EngineContext &ctx, shell::PanelConnection &connection,
                                      const PlannedStep &step, LintraEventRecord &reply);

// Runs a sequence; an exception outside its command steps reports "Ошибка на линии №" + line,
// closes the connection and fails the sequence.
SequenceResult guardSequence(shell::EngineContext &ctx, shell::PanelConnection &connection,
                             const std::function<SequenceResult()> &sequence);

// The reply as the 24-byte command record that records are made from.
CommandRecord toCommandRecord(const LintraEventRecord &reply);

}  // namespace zaltor

#include "zaltor/config/sequences/SequenceStep.h"

#include <algorithm>
#include <iterator>
#include <exception>

#include "zaltor/shell/connect/CloseConnection.h"

namespace zaltor {

std::string numbered(std::string_view text, int number) {
    return std::string(text) + std::to_string(number) + ". ";
}

std::optional<SequenceResult> runStep(shell::EngineContext &ctx, shell::PanelConnection &connection,
                                      const PlannedStep &step, LintraEventRecord &reply) {
    if (step.checksFlag && !ctx.state.operation) {
        shell::closeConnection(ctx, connection);
        return SequenceResult::Aborted;
    }
    if (shell::commandStep(ctx, connection, step.command, step.texts, reply) != 0) return SequenceResult::Failed;
    return std::nullopt;
}

SequenceResult guardSequence(shell::EngineContext &ctx, shell::PanelConnection &connection,
                             const std::function<SequenceResult()> &sequence) {
    try {
        return sequence();
    } catch (const std::exception &) {
        ctx.ui.showMessage("Ошибка на линии №" + std::to_string(connection.line), shell::kMessageCaption,
                           shell::MessageIcon::Information);
        shell::closeConnection(ctx, connection);
        return SequenceResult::Failed;
    }
}

CommandRecord toCommandRecord(const LintraEventRecord &reply) {
    CommandRecord record;
    record.line = reply.line;
    record.address = reply.address;
    record.code = reply.code;
    record.month = reply.month;
    record.day = reply.day;
    record.hour = reply.hour;
    record.minute = reply.minute;
    record.dataCount = reply.data_length;
    std::copy(std::begin(reply.data), std::end(reply.data), record.data);
    return record;
}

}  // namespace zaltor

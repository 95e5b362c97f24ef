#include "zaltor/shell/connect/CommandStep.h"

#include <algorithm>
#include <exception>
#include <span>

#include "zaltor/shell/connect/CloseConnection.h"
#include "zaltor/shell/connect/CommandLogLine.h"
#include "zaltor/shell/connect/ExchangeCodes.h"
#include "zaltor/shell/connect/LibraryStatusText.h"

namespace zaltor::shell {

int commandStep(EngineContext &ctx, PanelConnection &connection, const PanelCommand &command,
                const StepTexts &texts, LintraEventRecord &reply) {
    try {
        ctx.ui.progress(texts.item, texts.progress);
        const uint16_t count = std::min<uint16_t>(command.count, command.params.size());
        const std::span<const uint8_t> sent(command.params.data(), count);
        const auto logLine = [&](std::string_view caption) {
            ctx.log.line(commandLogLine(caption, connection.line, connection.address, command.code, sent));
        };
        logLine(texts.logCaption);

        int32_t result = 0;
        int attempt = 1;
        do {
            logLine("^^^^^^^^^^");
            // A refused command leaves the reply untouched; a stale code must not pass for it.
            reply = LintraEventRecord{};
            result = ctx.calls.SendCmdGetReply(static_cast<uint16_t>(connection.line), connection.address,
                                               command.code, count, command.params.data(), &reply);
            if (attempt >= 2) ctx.log.line(std::to_string(attempt) + "-й повтор команды");
            ++attempt;
            if (attempt <= ctx.params.replayParam) ctx.clock.sleepMs(static_cast<uint32_t>(ctx.params.sleepParam));
        } while (attempt <= ctx.params.replayParam && !isAnswered(reply.code));

        if ((result >= 1 && result <= 5) || !isAnswered(reply.code)) {
            const std::string error = texts.numberedError + std::string(libraryStatusText(result)) + " Ev=" +
                                      std::to_string(reply.code);
            ctx.log.line(error);
            ctx.ui.showMessage(error, kMessageCaption, MessageIcon::Information);
            closeConnection(ctx, connection);
            return result != 0 ? result : 1;
        }
        if (ctx.gauge) ctx.gauge->step();
        return result;
    } catch (const std::exception &) {
        ctx.ui.showMessage(texts.shortError, kMessageCaption, MessageIcon::Information);
        return kStepRaised;
    }
}

}  // namespace zaltor::shell

#include "zaltor/shell/connect/ConnectByValues.h"

#include <cstdlib>
#include <ctime>
#include <exception>
#include <string>

#include "zaltor/shell/connect/CloseConnection.h"
#include "zaltor/shell/connect/CommandLogLine.h"
#include "zaltor/shell/connect/ExchangeCodes.h"

namespace zaltor::shell {
namespace {

constexpr int kSettleWaits = 30;
constexpr uint32_t kSettleWaitMs = 50;

std::string localDateTime(int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &tm);
    return text;
}

std::string startFailureText(int32_t result) {
    const std::string text = "Нет связи с панелью.";
    switch (result) {
    case -4: return text + "Не удается открыть СОМ-порт";
    case -2: return text + "Неверные параметры";
    case -1: return text + "Линия занята";
    default: return text;
    }
}

class Connecting {
public:
    Connecting(EngineContext &ctx, PanelConnection &connection, IProgressBar *bar)
        : ctx_(ctx), c_(connection), bar_(bar), wasRunning_(ctx.state.operation) {}

    bool run(intptr_t window) {
        c_.driverHandle = -1;
        c_.lineId = -1;
        if (bar_) bar_->setRange(0, kConnectBarMax);
        ctx_.log.line("  ");
        ctx_.log.line(localDateTime(ctx_.clock.wallSeconds()));
        ctx_.log.line("Инициализация СОМ порта " + c_.portName() + " Addr=" + std::to_string(c_.address));
        if (bar_) bar_->setPosition(0);
        if (!openLine(window)) return false;

        for (int i = 0; i < kSettleWaits && !aborted(); ++i) {
            ctx_.clock.sleepMs(kSettleWaitMs);
            if (bar_) bar_->step();
            ctx_.ui.processEvents();
        }
        if (aborted()) return false;

        polling(kStartPolling, "Команда на начало опроса на линии", "Команда на начало опроса не прошла!");
        const bool found = search();
        ctx_.log.line(found ? "Связь найдена" : "!!!!! Связь не найдена");
        if (polling(kEndPolling, "Команда на конец опроса на линии", "Команда на конец опроса не прошла!") && bar_)
            bar_->setPosition(kConnectBarMax);
        return found && !aborted();
    }

private:
    // An abort request of the running operation; a connection made outside one (the console's)
    // never sees the flag change.
    bool aborted() const { return wasRunning_ && !ctx_.state.operation; }

    bool openLine(intptr_t window) {
        try {
            int32_t result;
            if (c_.viaNetController()) {
                const std::string settings = "HOST=" + c_.host + "\r\nPORT=" + c_.networkPort + "\r\nLogLevel=7\r\n";
                const int32_t handle = ctx_.calls.DriverCreate(1, settings.c_str());
                // Any negative answer is a failure (-2 and -3 as well as -1), and no handle.
                if (handle < 0) return false;
                c_.driverHandle = handle;
                c_.lineId = ctx_.calls.DriverLineCreate(handle, c_.portNumber - 1, 4, nullptr);
                ctx_.calls.DriverDoCmd(handle, kCdStart, 0, 0);
                result = ctx_.calls.StartPanel(c_.line, ("LIN" + std::to_string(c_.lineId)).c_str(), window,
                                               static_cast<uint16_t>(c_.address));
            } else {
                result = ctx_.calls.StartPanel(c_.line, c_.portName().c_str(), window, static_cast<uint16_t>(c_.address));
            }
            if (result > 0) {
                c_.lineStarted = true;
                return true;
            }
            ctx_.ui.showMessage(startFailureText(result), kMessageCaption, MessageIcon::Information);
        } catch (const std::exception &) {
            ctx_.ui.showMessage(startFailureText(0), kMessageCaption, MessageIcon::Information);
        }
        closeConnection(ctx_, c_);
        return false;
    }

    // Failures of the polling commands are only logged.
    bool polling(uint16_t command, std::string_view caption, std::string_view failure) {
        try {
            ctx_.log.line(commandLogLine(caption, c_.line, 0, command, {}));
            const uint8_t buffer[12] = {};
            ctx_.calls.LCBCommand(static_cast<uint16_t>(c_.line), command, 0, buffer);
            return true;
        } catch (const std::exception &) {
            ctx_.log.line(failure);
            return false;
        }
    }

    // Asks for the last event until the panel answers, for at most 30 s. A command the library
    // refuses (a line that is gone, say) is not repeated: it would only spin until the limit.
    bool search() {
        const uint64_t start = ctx_.clock.nowMs();
        LintraEventRecord reply{};
        reply.code = kNoConnectionCode;
        ctx_.log.line(commandLogLine("Ищется связь с панелью", c_.line, c_.address, kAskLastEvent, {}));
        int32_t result = 0;
        for (;;) {
            const uint8_t buffer[12] = {};
            result = ctx_.calls.SendCmdGetReply(static_cast<uint16_t>(c_.line), c_.address, kAskLastEvent, 0, buffer,
                                                &reply);
            if (bar_) bar_->step();
            ctx_.log.line("Спрашивали последнее событие, пришел ответ от панели: " + std::to_string(reply.code));
            ctx_.ui.processEvents();
            const uint64_t elapsed = static_cast<uint64_t>(
                std::llabs(static_cast<long long>(ctx_.clock.nowMs()) - static_cast<long long>(start)));
            if (result != 0 || isAnswered(reply.code) || elapsed > kSearchLimitMs || aborted()) break;
        }
        return result == 0 && isAnswered(reply.code);
    }

    EngineContext &ctx_;
    PanelConnection &c_;
    IProgressBar *bar_;
    const bool wasRunning_;
};

}  // namespace

bool connectByValues(EngineContext &ctx, PanelConnection &connection, intptr_t window, IProgressBar *bar) {
    return Connecting(ctx, connection, bar).run(window);
}

}  // namespace zaltor::shell

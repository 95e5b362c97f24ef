// The start and stop exports of panel lines.
#include <chrono>
#include <cstring>
#include <string>

#include "lintra/include/lintra.h"
#include "lintra/host/MessageBox.h"
#include "lintra/ports/delivery/EventDelivery.h"
#include "lintra/ports/delivery/LineEvents.h"
#include "lintra/ports/lines/ReqstFile.h"
#include "lintra/ports/lines/SharedObjects.h"
#include "lintra/ports/lines/StartLine.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"
#include "platform/Clock.h"

namespace lintra {
namespace {

constexpr uint64_t kCloseDrainMs = 20000;
constexpr uint32_t kCloseDrainStepMs = 100;
constexpr int32_t kCloseGiveUpCounter = -2;

int StartPanelLine(int32_t line, const char *port, intptr_t wnd, uint16_t addr) {
    const std::string portName = port ? port : "";
    LogMain("StartPanel( " + std::to_string(line) + ", " + portName + ", " + std::to_string(wnd) + ", " +
                std::to_string(addr) + " )",
            6);
    // A frame carries one address byte and the port has 256 address slots.
    if (!IsLineNumber(line) || addr > 0xFF || !port) return kStartCannotOpen;
    if (LineTable::Get(line)) {
        LogMain("Линия " + std::to_string(line) + " уже занята!", 6);
        return kStartLineInUse;
    }
    if (FindPanelLine(TPanelPort::DeviceOf(portName), addr)) {
        host::showMessageBox("На этом порте уже есть панель с таким адресом!", "Ошибка инициализации",
                             host::kMessageBoxIconStop);
        return kStartCannotOpen;
    }
    std::shared_ptr<TPultControl> panel;
    const int result = StartLineObject(line, portName, wnd, [&] {
        panel = std::make_shared<TPultControl>(line, static_cast<uint8_t>(addr));
        return panel;
    });
    if (result > 0 && LineSpeedMode(line) != 0) panel->ChangePultModeLocked();
    return result;
}

void ShutdownLine(int line) {
    const auto object = LineTable::Get(line);
    if (!object) return;
    LogLine(line, "Команда на закрытие линии", 5);
    object->StopLine();
}

// Lets the line's thread send what is queued: at most 20 s, and only while the line still
// gets answers (a counter below -2 means the far end has stopped answering).
void DrainQueue(const TPortControl &object) {
    tessel::Clock &clock = tessel::SteadyClock::instance();
    const uint64_t start = clock.nowMs();
    while (object.outQueue().Count() > 0 && clock.nowMs() - start < kCloseDrainMs &&
           object.answerCounter() >= kCloseGiveUpCounter) {
        if (LineLogEnabled(object.line(), 9))
            LogLine(object.line(),
                    "CloseCom:: QLen=" + std::to_string(object.outQueue().Count()) +
                        " GA=" + std::to_string(object.answerCounter()),
                    9);
        clock.sleepMs(kCloseDrainStepMs);
    }
}

void CloseLine(int line) {
    if (SharedObjects::OpenLineCount() < 1) return;
    std::shared_ptr<TPortControl> object = LineTable::Get(line);
    if (!object) return;
    LogMain("Closing Com(" + std::to_string(line) + "), MsgNumber=" + std::to_string(LineState::MsgNumber(line)), 5);
    LogLine(line, "Closing line, OutQueueLen=" + std::to_string(object->outQueue().Count()), 5);
    SharedObjects::DecrementOpenLineCount();
    if (const auto panel = std::dynamic_pointer_cast<TPultControl>(object)) {
        LineState::SetMsgNumber(line, panel->currentMsgNumber());
        SaveLineState();
        LogLine(line, "Состояние записано, N=" + std::to_string(LineState::MsgNumber(line)), 5);
    }
    if (object->IsLcbControl()) {
        PanelFrame stop = PanelFrame::connectionLost();
        FrameChecksum(stop);
        object->outQueue().ReplaceHeadOrPut(stop);
    }
    DrainQueue(*object);
    const size_t dropped = object->outQueue().Count();
    LineTable::Take(line);
    object.reset();  // stops the line's polling and closes its port with the last line on it
    LineEvents::instance().free(line);
    LogLine(line, "Line closed, dropped " + std::to_string(dropped) + " cmds", 5);
}

}  // namespace
}  // namespace lintra

using namespace lintra;

extern "C" {

LINTRA_API int32_t StartPanel(int32_t line, const char *port, intptr_t wnd, uint16_t addr) {
    return StartPanelLine(line, port, wnd, addr);
}

LINTRA_API int32_t StartPanelNew(int32_t line, const char *port, uint16_t addr) {
    LogMain("StartPanelNew(" + std::to_string(line) + ", " + (port ? port : "") + ", " + std::to_string(addr) + ")",
            6);
    return StartPanelLine(line, port, 0, addr);
}

LINTRA_API void ShutdownCom(int32_t line) { ShutdownLine(line); }

LINTRA_API void ShutdownAll(void) {
    LogMain("Команда на закрытие всех линий", 5);
    for (int line = 0; line < kLineCount; ++line) ShutdownLine(line);
}

LINTRA_API void CloseCom(int32_t line) { CloseLine(line); }

LINTRA_API int32_t LengthOfOutQueue(int32_t line) {
    const auto object = LineTable::Get(line);
    return object ? static_cast<int32_t>(object->outQueue().Count()) : -1;
}

LINTRA_API int32_t ResetPultBuffer(int32_t line) {
    const auto panel = LineTable::GetAs<TPultControl>(line);
    if (!panel) return 1;
    panel->RequestReset();
    return 0;
}

}  // extern "C"

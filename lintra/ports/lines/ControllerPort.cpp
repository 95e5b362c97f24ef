#include "lintra/ports/lines/ControllerPort.h"

#include <cstring>

#include "lintra/host/MessageBox.h"
#include "lintra/ports/lines/PanelPort.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {

bool TControllerPort::InitCom(const std::string &port) {
    LogMain("TPortControl.InitCom(" + port + ", " + std::to_string(line_) + ")", 6);
    setOpener([port](int *error) { return TPanelPort::OpenDevice(port, error); }, port);
    if (Reopen()) return true;
    host::showMessageBox("Не удается открыть последовательный порт", port, host::kMessageBoxIconStop);
    return false;
}

bool TControllerPort::Reopen() {
    LogLine(line_, "TPortControl.ReInitCom", 6);
    if (device_) {
        clock_.sleepMs(kCloseWaitMs);
        device_.reset();
        LogLine(line_, "Закрываем линию, порт " + name_, 5);
        clock_.sleepMs(kClosedWaitMs);
    }
    int error = ENODEV;
    std::unique_ptr<Port> device = opener_ ? opener_(&error) : nullptr;
    if (device) {
        device->setTimeouts(kTimeouts);
        if (!device->setLine(kLineSettings)) error = device->lastError(), device.reset();
    }
    if (!device) {
        LogLine(line_, "Ошибка инициализации линии, порт " + name_, 2);
        LogLine(line_, name_ + ": " + std::strerror(error), 2);
        return false;
    }
    device_ = std::move(device);
    LogLine(line_, "Линия инициализирована, порт " + name_, 5);
    return true;
}

}  // namespace lintra

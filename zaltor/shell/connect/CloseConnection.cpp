#include "zaltor/shell/connect/CloseConnection.h"

#include <exception>
#include <utility>

#include "zaltor/shell/connect/ExchangeCodes.h"

namespace zaltor::shell {

void closeConnection(EngineContext &ctx, PanelConnection &connection) {
    try {
        ctx.ui.hideIndicator();
        if (std::exchange(connection.lineStarted, false)) ctx.calls.CloseCom(connection.line);
        if (const int32_t id = std::exchange(connection.lineId, -1); id >= 0)
            ctx.calls.DriverLineDoCmd(id, kCdDestroy, 0, 0);
        if (const int32_t handle = std::exchange(connection.driverHandle, -1); handle >= 0)
            ctx.calls.DriverDoCmd(handle, kCdDestroy, 0, 0);
    } catch (const std::exception &) {
        ctx.ui.showMessage("Ошибка закрытия COM-порта/подключения по сети", kMessageCaption, MessageIcon::Information);
    }
}

}  // namespace zaltor::shell

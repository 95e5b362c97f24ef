#include "zaltor/shell/connect/AbortRequest.h"

namespace zaltor::shell {

bool requestAbort(IEngineUi &ui, OperationState &state) {
    if (!ui.askYesNo("Прервать загрузку/выгрузку конфигурации?", kMessageCaption)) return false;
    state.operation = false;
    ui.showMessage("Операция прервана", kMessageCaption, MessageIcon::Information);
    return true;
}

}  // namespace zaltor::shell

#include "zaltor/config/sequences/SavePanelToFile.h"

#include "zaltor/config/ConfigFile.h"
#include "zaltor/config/sequences/ReadSequence.h"

namespace zaltor {

SequenceResult savePanelToFile(shell::EngineContext &ctx, shell::PanelConnection &connection, RecordBuffer &buffer,
                               const std::string &fileName) {
    if (ctx.gauge) ctx.gauge->setPosition(0);
    const int bytes = readPanel(ctx, connection, buffer);
    if (ctx.gauge) ctx.gauge->setPosition(0);
    if (!ctx.state.operation) return SequenceResult::Aborted;
    if (bytes < 1) {
        ctx.ui.showMessage("Нет связи (ошибка связи) с панелью", shell::kMessageCaption,
                           shell::MessageIcon::Information);
        return SequenceResult::Failed;
    }
    if (!saveConfigFile(buffer, fileName)) {
        ctx.ui.showMessage("Ошибка при записи в файл " + fileName, shell::kErrorCaption, shell::MessageIcon::Error);
        return SequenceResult::Failed;
    }
    return SequenceResult::Completed;
}

}  // namespace zaltor

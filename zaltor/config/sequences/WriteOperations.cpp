#include "zaltor/config/sequences/WriteOperations.h"

#include "zaltor/config/sequences/WriteSequence.h"
#include "zaltor/shell/connect/CloseConnection.h"

namespace zaltor {
namespace {

void resetGauge(shell::EngineContext &ctx) {
    if (ctx.gauge) ctx.gauge->setPosition(0);
}

// The sequence reports what it raises itself; this covers a report that raises in turn.
SequenceResult writeWithGauge(shell::EngineContext &ctx, shell::PanelConnection &connection,
                              const ConfigImage &image) {
    resetGauge(ctx);
    try {
        const SequenceResult result = writeSequence(ctx, connection, image);
        resetGauge(ctx);
        return result;
    } catch (...) {
        resetGauge(ctx);
        throw;
    }
}

}  // namespace

SequenceResult writeBuiltImage(shell::EngineContext &ctx, shell::PanelConnection &connection,
                               const ConfigImage &image) {
    SequenceResult result;
    try {
        result = writeWithGauge(ctx, connection, image);
    } catch (...) {
        shell::closeConnection(ctx, connection);
        throw;
    }
    shell::closeConnection(ctx, connection);
    if (result == SequenceResult::Completed && !ctx.state.batchMode)
        ctx.ui.showMessage("Загрузка данных прошла успешно", shell::kMessageCaption, shell::MessageIcon::Information);
    return result;
}

SequenceResult writeFromRecords(shell::EngineContext &ctx, shell::PanelConnection &connection,
                                const RecordBuffer &records, ConfigImage &image) {
    image.loadRecords(records);
    return writeWithGauge(ctx, connection, image);
}

}  // namespace zaltor

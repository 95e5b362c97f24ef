#pragma once
// The two operations that write a panel: from the image just built from the site database, and
// from a record buffer (a configuration file).
#include "zaltor/config/ConfigImage.h"
#include "zaltor/config/RecordBuffer.h"
#include "zaltor/config/sequences/SequenceResult.h"
#include "zaltor/shell/connect/EngineContext.h"
#include "zaltor/shell/connect/PanelConnection.h"

namespace zaltor {

// The second half of writing from the database: the write sequence with the gauge reset before
// and after, the connection closed on every path, and "Загрузка данных прошла успешно" when the
// sequence completed outside batch mode.
SequenceResult writeBuiltImage(shell::EngineContext &ctx, shell::PanelConnection &connection,
                               const ConfigImage &image);

// Loads the records into the image and writes it, the gauge reset before and after. The caller
// closes the connection. Anything but Completed means the panel holds only part of the records.
SequenceResult writeFromRecords(shell::EngineContext &ctx, shell::PanelConnection &connection,
                                const RecordBuffer &records, ConfigImage &image);

}  // namespace zaltor

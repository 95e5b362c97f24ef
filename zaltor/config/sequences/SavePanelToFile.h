#pragma once
// Saving a panel's configuration to a file: the reading, then the configuration file.
#include <string>

#include "zaltor/config/RecordBuffer.h"
#include "zaltor/config/sequences/SequenceResult.h"
#include "zaltor/shell/connect/EngineContext.h"
#include "zaltor/shell/connect/PanelConnection.h"

namespace zaltor {

// Reads the panel into the buffer with the gauge reset before and after, and saves the records
// as the file. A reading that failed says "Нет связи (ошибка связи) с панелью", a file that
// cannot be written "Ошибка при записи в файл " + its name; an abort says nothing and saves
// nothing. The caller closes the connection.
SequenceResult savePanelToFile(shell::EngineContext &ctx, shell::PanelConnection &connection, RecordBuffer &buffer,
                               const std::string &fileName);

}  // namespace zaltor

#pragma once
// The user's request to stop the running operation (a click on the notification icon). It runs
// nested inside the operation; its only effect there is the cleared operation flag.
#include "zaltor/shell/connect/EngineUi.h"
#include "zaltor/shell/connect/OperationState.h"

namespace zaltor::shell {

// Asks; on Yes clears the operation flag and says so. Answers whether the flag was cleared.
bool requestAbort(IEngineUi &ui, OperationState &state);

}  // namespace zaltor::shell

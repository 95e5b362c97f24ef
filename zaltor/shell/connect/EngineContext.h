#pragma once
// What every engine operation on a panel works with, handed in by the program (or a test).
#include "platform/Clock.h"
#include "zaltor/shell/binding/LintraCalls.h"
#include "zaltor/shell/connect/EngineUi.h"
#include "zaltor/shell/connect/OperationState.h"
#include "zaltor/shell/connect/ZaltorLog.h"
#include "zaltor/shell/connect/ZaltorParams.h"

namespace zaltor::shell {

struct EngineContext {
    TLintraCalls &calls;
    IEngineUi &ui;
    tessel::Clock &clock;  // pauses and the search deadline
    OperationState &state;
    const ZaltorLog &log;
    ZaltorParams params;
    IProgressBar *gauge = nullptr;  // one step per panel command; none in batch mode
};

}  // namespace zaltor::shell

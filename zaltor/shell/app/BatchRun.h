#pragma once
// The batch run of the loader: `zaltor ALIAS N` writes panel N of the site database and ends;
// --verify reads it back afterwards and lists what differs, --save reads the panel into a
// configuration file, --load writes a file into it. Messages go to the engine's user interface
// (standard error in the program); the result is the process's exit status.
#include "zaltor/shell/binding/CommandLine.h"
#include "zaltor/shell/binding/ExitStatus.h"
#include "zaltor/shell/binding/LintraCalls.h"
#include "zaltor/shell/connect/EngineUi.h"
#include "zaltor/shell/connect/OperationState.h"
#include "zaltor/shell/connect/ZaltorLog.h"
#include "zaltor/shell/connect/ZaltorParams.h"
#include "platform/Clock.h"

namespace zaltor::shell {

struct BatchEnvironment {
    TLintraCalls &calls;
    IEngineUi &ui;
    tessel::Clock &clock;
    OperationState &state;
    const ZaltorLog &log;
    ZaltorParams params;
};

// The command line must be a batch one (alias and panel number). The library is bound.
ExitStatus runBatch(const CommandLine &command, BatchEnvironment &env);

}  // namespace zaltor::shell

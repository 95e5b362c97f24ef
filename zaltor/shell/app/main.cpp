// zaltor: the M50 panel loader. This build runs the batch mode: `zaltor ALIAS N` writes panel N
// of the site database ALIAS; see --help.
#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

#include "zaltor/shell/app/BatchRun.h"
#include "zaltor/shell/app/SignalAbort.h"
#include "zaltor/shell/binding/ContrIntf.h"
#include "zaltor/shell/connect/StderrUi.h"

using namespace zaltor::shell;

int main(int argc, char **argv) {
    const CommandLine command = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.mode) {
    case StartMode::Help:
        std::cout << usageText();
        return exitCode(ExitStatus::Done);
    case StartMode::Version:
        std::cout << "zaltor 0.1 (batch mode)\n";
        return exitCode(ExitStatus::Done);
    case StartMode::Refused:
        std::cerr << "zaltor: " << command.problem << "\n\n" << usageText();
        return exitCode(ExitStatus::Usage);
    case StartMode::Interactive:
        std::cerr << "zaltor: this build has no windows yet; write a panel with: zaltor ALIAS N\n";
        return exitCode(ExitStatus::Usage);
    case StartMode::Batch:
        break;
    }

    QCoreApplication application(argc, argv);
    catchStopSignals();
    OperationState state;
    state.operation = true;
    const ZaltorParams params = readZaltorParams();
    StderrUi stderrUi(std::cerr, false);
    SignalAbortUi ui(stderrUi, state);
    TLintraBinding binding;
    if (!binding.bind()) {
        ui.showMessage(std::string(kBindFailureText) + " (" + binding.error() + ")", kBindFailureCaption,
                       MessageIcon::Error);
        return exitCode(ExitStatus::Binding);
    }
    const ZaltorLog log;
    BatchEnvironment env{binding, ui, tessel::SteadyClock::instance(), state, log, params};
    ExitStatus status = runBatch(command, env);
    if (stopSignalled() && status != ExitStatus::Done) status = ExitStatus::Failed;
    binding.unbind();
    return exitCode(status);
}

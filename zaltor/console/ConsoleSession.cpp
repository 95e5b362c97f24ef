#include "zaltor/console/ConsoleSession.h"

namespace zaltor::console {

void ConsoleSession::show(std::optional<int> panelNumber) {
    panelNumber_ = panelNumber;
    open_ = {};
}

// Without a database entry only the typed values can be used, whatever item is selected.
bool ConsoleSession::byValues(bool manualSelected) const { return manualSelected || !panelNumber_; }

FieldStates ConsoleSession::fieldStates(bool manualSelected, bool viaNetController) const {
    const bool manual = byValues(manualSelected);
    return {manual, manual && viaNetController};
}

OpenedConnection ConsoleSession::open(const ConsoleForm &form) {
    if (!byValues(form.manualSelected)) return link_.connectByTable(*panelNumber_);
    ManualConnection values{form.address, form.line, form.portNumber, {}, {}};
    if (form.viaNetController) {
        values.host = form.host;
        values.networkPort = form.networkPort;
    }
    OpenedConnection opened = link_.connectByValues(values);
    opened.line = form.line;
    opened.address = form.address;
    return opened;
}

void ConsoleSession::connect(const ConsoleForm &form) {
    if (open_.connected) return;
    view_.note("=> установить связь");
    view_.setDialogButtonsEnabled(false);
    try {
        open_ = open(form);
    } catch (...) {
        open_.connected = false;
    }
    if (open_.connected) {
        view_.note("Связь установлена");
        view_.showMessage("Связь установлена!");
    } else {
        // A panel that was not found leaves its line open; close it now so that a second
        // attempt does not find the line busy.
        closeQuietly();
        view_.note("Нет связи");
        view_.showMessage("Нет связи!");
    }
    view_.resetProgress();
    view_.setDialogButtonsEnabled(true);
}

// Forgets the handles with the close, so that a later close cannot destroy Driver API objects
// that have since been given the same numbers.
void ConsoleSession::closeQuietly() {
    const OpenedConnection closing = open_;
    open_ = {};
    try {
        link_.close(closing.line, closing.driverHandle, closing.lineId);
    } catch (...) {
    }
}

void ConsoleSession::disconnect() {
    view_.note("=> Завершить связь");
    closeQuietly();
    view_.note("связь завершена");
}

void ConsoleSession::closeWindow() {
    view_.resetProgress();
    closeQuietly();
}

void ConsoleSession::command(OperatorCommand command, uint8_t zone, std::string_view zoneText,
                             const std::tm &now) {
    if (!open_.connected) return;
    view_.note(consoleEcho(command, zoneText));
    try {
        for (const LibraryCall &call : commandCalls(command, zone, now))
            link_.call(open_.line, open_.address, call);
    } catch (...) {
    }
}

}  // namespace zaltor::console

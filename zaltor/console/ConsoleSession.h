#pragma once
// The connection console without its window: which way it connects, what it tells the
// operator, which calls its commands make and what it closes. The window supplies the view and
// the connection operations.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "zaltor/console/OperatorCommands.h"

namespace zaltor::console {

// Ranges and initial positions of the console's number fields, set each time it is shown.
struct FieldRange {
    int min, max, initial;
};
inline constexpr FieldRange kAddressField{0, 255, 1};
inline constexpr FieldRange kLineField{1, 255, 1};
inline constexpr FieldRange kPortField{1, 64, 1};
inline constexpr FieldRange kZoneField{1, 200, 1};
inline constexpr int kConnectProgressMax = 200;

// What the operator typed in the parameter fields.
struct ConsoleForm {
    bool manualSelected = false;  // item 1 "&Указать вручную" instead of the database entry
    int address = kAddressField.initial;
    int line = kLineField.initial;
    int portNumber = kPortField.initial;
    bool viaNetController = false;
    std::string host;
    std::string networkPort;
    std::string password;
};

struct ManualConnection {
    int address;
    int line;
    int portNumber;
    std::string host;         // empty for a serial connection
    std::string networkPort;  // empty for a serial connection
    bool operator==(const ManualConnection &) const = default;
};

// An open (or half-open) connection; the handles are -1 when there are none.
struct OpenedConnection {
    bool connected = false;
    int line = -1;
    int address = -1;
    int32_t driverHandle = -1;
    int32_t lineId = -1;
};

// The connection operation and the library calls; any of them may throw.
class ConsoleLink {
public:
    virtual ~ConsoleLink() = default;
    virtual OpenedConnection connectByValues(const ManualConnection &values) = 0;
    virtual OpenedConnection connectByTable(int panelNumber) = 0;
    virtual void close(int line, int32_t driverHandle, int32_t lineId) = 0;
    virtual void call(int line, int address, const LibraryCall &call) = 0;
};

class ConsoleView {
public:
    virtual ~ConsoleView() = default;
    virtual void note(std::string_view text) = 0;         // a line in the described pane
    virtual void showMessage(std::string_view text) = 0;  // caption "Сообщение", information icon
    virtual void setDialogButtonsEnabled(bool enabled) = 0;
    virtual void resetProgress() = 0;
};

struct FieldStates {
    bool connectionValues;  // address, line, port and the network controller box
    bool networkValues;     // host, network port and password
    bool operator==(const FieldStates &) const = default;
};

class ConsoleSession {
public:
    ConsoleSession(ConsoleLink &link, ConsoleView &view) : link_(link), view_(view) {}

    // Each showing starts not connected; panelNumber is none when the database is not used.
    void show(std::optional<int> panelNumber);
    FieldStates fieldStates(bool manualSelected, bool viaNetController) const;

    void connect(const ConsoleForm &form);
    void disconnect();
    void closeWindow();
    void command(OperatorCommand command, uint8_t zone, std::string_view zoneText,
                 const std::tm &now);

    bool connected() const { return open_.connected; }

private:
    bool byValues(bool manualSelected) const;
    OpenedConnection open(const ConsoleForm &form);
    void closeQuietly();

    ConsoleLink &link_;
    ConsoleView &view_;
    std::optional<int> panelNumber_;
    OpenedConnection open_;
};

}  // namespace zaltor::console

#include "lintra/nx/NXStartup.h"

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "lintra/nx/CommCodes.h"
#include "lintra/nx/CommDriver.h"
#include "lintra/nx/DriverApi.h"
#include "lintra/nx/NXIniFile.h"
#include "lintra/nx/ParamOverrides.h"
#include "lintra/nx/PortAliases.h"

namespace lintra::nx {

namespace {

// A device stops being taken once the alias table holds more than this.
constexpr int32_t kAliasesForAnotherDevice = 100;

bool ValidHandle(int32_t handle) { return handle >= 1 && handle <= 255; }

// The override slot a section named with a decimal number 0..255 fills ("007" is 7).
std::optional<int32_t> OverrideSlot(std::string_view name) {
    int32_t slot = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), slot);
    if (error != std::errc() || end != name.data() + name.size() || slot < 0 || slot >= kOverrideSlots) {
        return std::nullopt;
    }
    return slot;
}

bool Ignored(const TParamList &params) { return params.IntValue("Ignore", 0) != 0; }

void StartLine(const TNXIniFile &ini, const std::string &name, std::optional<int32_t> driver) {
    TParamList params;
    ini.GetLineParams(name, params);
    if (const std::optional<int32_t> slot = OverrideSlot(name)) SetParamOverride(OverrideTable::lines, *slot, params);
    if (Ignored(params) || !driver) return;
    const int32_t type = params.IntValue("Type", -1);
    const int32_t port = params.IntValue("Port", -1);
    const std::string com = params.Value("Com").value_or("");
    if (type == -1 || port == -1 || com.empty() || com.size() > TNXIniFile::kMaxNameLength) return;
    const int32_t line = CreateLine(*driver, port, type, params.Text().c_str());
    // Beyond the table's last entry a line stays unregistered.
    if (ValidHandle(line)) AddPortAlias(com, line, type);
}

void StartDevice(const TNXIniFile &ini, const std::string &name) {
    TParamList params;
    ini.GetDeviceParams(name, params);
    if (const std::optional<int32_t> slot = OverrideSlot(name)) SetParamOverride(OverrideTable::drivers, *slot, params);
    std::optional<int32_t> driver;
    const int32_t type = params.IntValue("Type", -1);
    if (!Ignored(params) && type > 0) {
        const int32_t handle = CreateDriver(type, params.Text().c_str());
        if (ValidHandle(handle)) driver = handle;
    }
    for (const std::string &line : ini.GetLinesOfDevice(name)) StartLine(ini, line, driver);
    if (driver) DriverCommand(*driver, CD_Start, 0, 0);
}

}  // namespace

int32_t StartNXConfiguration() {
    if (PortAliasCount() > 0) return -1;
    TNXIniFile ini;
    if (!ini.Load()) return -2;
    const int32_t logLevel = ini.Common().IntValue("LogLevel", -1);
    if (logLevel != -1) TCommDriver::SetDefaultLogLevel(logLevel);
    for (const std::string &device : ini.GetDeviceNames()) {
        if (PortAliasCount() > kAliasesForAnotherDevice) break;
        StartDevice(ini, device);
    }
    return PortAliasCount();
}

void FreeNXConfiguration() {
    ClearParamOverrides();
    ClearPortAliases();
}

}  // namespace lintra::nx

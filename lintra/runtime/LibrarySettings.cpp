#include "lintra/runtime/LibrarySettings.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "lintra/runtime/CharFunc.h"
#include "platform/Registry.h"

namespace lintra {

namespace {

std::optional<int> ReadInt(const tessel::RegKey &key, std::string_view name) {
    std::optional<uint32_t> value = key.readDword(name);
    if (!value) return std::nullopt;
    return static_cast<int32_t>(*value);
}

int ReadInt(const tessel::RegKey &key, std::string_view name, int fallback) {
    return ReadInt(key, name).value_or(fallback);
}

std::string LineValueName(int line) { return "Line" + std::to_string(line); }

}  // namespace

void ReadPortServer(const tessel::RegKey &key, LibrarySettings &settings) {
    settings.cycleCount = ReadInt(key, "CycleCount", settings.cycleCount);
}

void ReadLineLevels(const tessel::RegKey &key, LibrarySettings &settings) {
    for (int line = 0; line < kLineCount; ++line) {
        settings.lineLevel[line] = ReadInt(key, LineValueName(line), 0);
    }
}

void ReadSpeeds(const tessel::RegKey &key, LibrarySettings &settings) {
    settings.useAutoSpeed = ReadInt(key, "UseAutoSpeed", 0) != 0;
    int fallback = settings.useAutoSpeed ? 0 : 1;
    for (int line = 0; line < kLineCount; ++line) {
        settings.speedMode[line] = static_cast<uint8_t>(ReadInt(key, LineValueName(line), fallback));
    }
}

void ReadPolicy(const tessel::RegKey &key, LibrarySettings &settings) {
    PolicySettings &p = settings.policy;
    p.prepareToRestartTimeout = ReadInt(key, "PrepareToRestartTimeout", p.prepareToRestartTimeout);
    p.reqTimeout = ReadInt(key, "ReqTimeout", p.reqTimeout);
    p.shortTimeout = ReadInt(key, "ShortTimeout", p.shortTimeout);
    p.cycleTimeout = ReadInt(key, "CycleTimeout", p.cycleTimeout);
    p.skipIfEmpty = ReadInt(key, "SkipIfEmpty", p.skipIfEmpty);
    p.steps.clear();
    for (int i = 1;; ++i) {
        std::string suffix = std::to_string(i);
        std::optional<int> noConn = ReadInt(key, "NoConnCount" + suffix);
        std::optional<int> skip = ReadInt(key, "SkipCount" + suffix);
        std::optional<int> seconds = ReadInt(key, "Time" + suffix);
        if (!noConn || !skip || !seconds) break;
        int64_t ms = std::clamp<int64_t>(int64_t{*seconds} * 1000, INT32_MIN, INT32_MAX);
        p.steps.push_back({*noConn, *skip, static_cast<int>(ms)});
    }
    for (int address = 0; address < static_cast<int>(p.specialUnit.size()); ++address) {
        char name[] = "AddrXX";
        IntToHexFixed(static_cast<uint32_t>(address), name + 4, 2);
        p.specialUnit[address] = ReadInt(key, name, 0) != 0;
    }
    p.special = ReadInt(key, "Special", 0) != 0;
}

}  // namespace lintra

// lintra-info: loads liblintra.so the way a client does, which runs the library's load
// sequence (and writes back the missing library-wide logging values), then prints what the
// settings store and ./discmd.ini hold for the library.
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "lintra/runtime/DisabledCommands.h"
#include "lintra/runtime/LibrarySettings.h"
#include "lintra/runtime/LoggerSettings.h"
#include "platform/Registry.h"

namespace {

using namespace lintra;

constexpr const char *kUsage =
    "Usage: lintra-info [--help]\n"
    "Loads liblintra.so (from this program's directory, else from the loader's path), which\n"
    "reads the library's settings as at any load, and prints what the library sees: the\n"
    "library-wide logging values, the non-zero line levels, the speed modes, the polling\n"
    "policy, CycleCount, the commands ./discmd.ini disables and the log files that are on.\n"
    "The settings store is $TESSEL_USER_HIVE, or ~/.config/tessel/registry.\n";

std::optional<tessel::RegKey> OpenKey(std::string_view path) {
    return tessel::RegKey::open(tessel::Hive::CurrentUser, path, false);
}

void *LoadLibrary(std::string &loadedFrom) {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        std::string besideMe = (self.parent_path() / "liblintra.so").string();
        if (void *handle = dlopen(besideMe.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            loadedFrom = besideMe;
            return handle;
        }
    }
    loadedFrom = "liblintra.so (loader path)";
    return dlopen("liblintra.so", RTLD_NOW | RTLD_LOCAL);
}

void PrintLoggingDefaults() {
    LoggingDefaults d = ReadLoggingDefaults(SettingsAccess::ReadOnly);
    std::printf("[%.*s]\n  MaxLevel=%d LimRecs=%d LimTime=%d MaxFiles=%d Rotate=%d\n",
                static_cast<int>(kLoggingRootKey.size()), kLoggingRootKey.data(), d.maxLevel, d.recordLimit,
                d.timeLimitMinutes, d.fileCount, d.rotate ? 1 : 0);
}

void PrintLineLevels(const LibrarySettings &settings) {
    std::printf("[%.*s] non-zero levels:\n", static_cast<int>(kLineLoggingKey.size()), kLineLoggingKey.data());
    bool any = false;
    for (int line = 0; line < kLineCount; ++line) {
        if (settings.lineLevel[line] == 0) continue;
        std::printf("  Line%d=%d\n", line, settings.lineLevel[line]);
        any = true;
    }
    if (!any) std::printf("  none\n");
}

void PrintSpeeds(const LibrarySettings &settings) {
    uint8_t usual = settings.useAutoSpeed ? 0 : kDefaultSpeedMode;
    std::printf("[%.*s]\n  UseAutoSpeed=%d, every line in mode %d", static_cast<int>(kSpeedsKey.size()),
                kSpeedsKey.data(), settings.useAutoSpeed ? 1 : 0, usual);
    for (int line = 0; line < kLineCount; ++line) {
        if (settings.speedMode[line] != usual) std::printf(", Line%d=%d", line, settings.speedMode[line]);
    }
    std::printf("%s\n", usual == 0 ? " (0: automatic stepping)" : "");
}

void PrintPolicy(const PolicySettings &p) {
    std::printf("[%.*s]\n  PrepareToRestartTimeout=%d ReqTimeout=%d ShortTimeout=%d CycleTimeout=%d "
                "SkipIfEmpty=%d Special=%d\n",
                static_cast<int>(kPolicyKey.size()), kPolicyKey.data(), p.prepareToRestartTimeout, p.reqTimeout,
                p.shortTimeout, p.cycleTimeout, p.skipIfEmpty, p.special ? 1 : 0);
    std::printf("  no-answer steps:");
    if (p.steps.empty()) std::printf(" none (built-in rule)");
    for (const NoAnswerStep &step : p.steps) {
        std::printf(" [NoConnCount=%d SkipCount=%d Time=%d ms]", step.noConnCount, step.skipCount, step.timeMs);
    }
    std::printf("\n  special units:");
    bool any = false;
    for (size_t address = 0; address < p.specialUnit.size(); ++address) {
        if (!p.specialUnit[address]) continue;
        std::printf(" %02zX", address);
        any = true;
    }
    std::printf("%s\n", any ? "" : " none");
}

void PrintDisabledCommands() {
    DisabledCommands table;
    table.loadFile((std::filesystem::current_path() / "discmd.ini").string());
    std::printf("Disabled commands (./discmd.ini):");
    bool any = false;
    for (int line = 0; line < kLineCount; ++line) {
        const CommandRow &row = table.row(line);
        if (row.none()) continue;
        std::printf("\n  %s:", line == 0 ? "every line" : ("line " + std::to_string(line)).c_str());
        for (int code = 0; code < 256; ++code) {
            if (row.test(static_cast<size_t>(code))) std::printf(" %02X", code);
        }
        any = true;
    }
    std::printf("%s\n", any ? "" : " none");
}

void PrintLogFiles(const LibrarySettings &settings) {
    std::printf("Log files on:");
    bool any = false;
    auto levelOf = [](const std::string &name, int requested, int mode) {
        return ResolveLoggerSettings(name, requested, mode, SettingsAccess::ReadOnly).level;
    };
    auto print = [&](const std::string &name, int level, const char *note) {
        if (level <= 0) return;
        std::printf("\n  %s level %d%s", name.c_str(), level, note);
        any = true;
    };
    int mainLevel = EffectiveLevel(settings.lineLevel[0]);
    print("lintra.log", levelOf("lintra.log", mainLevel, lmDeferOpen), "");
    print("ContrCommand.log", levelOf("ContrCommand.log", mainLevel, lmDeferOpen | lmOnlyIfExists),
          " (only while the file exists)");
    // Line logs in runs of equal level, so that a general level does not print 255 lines.
    std::array<int, kLineCount> level{};
    for (int line = 1; line < kLineCount; ++line) {
        int requested = std::max(EffectiveLevel(settings.lineLevel[line]), mainLevel);
        if (requested > 0) {
            level[line] = levelOf("Line" + std::to_string(line) + "lintra.log", requested, lmDeferOpen | lmNoRegistryKey);
        }
    }
    for (int first = 1; first < kLineCount;) {
        int last = first;
        while (last + 1 < kLineCount && level[last + 1] == level[first]) ++last;
        std::string name = "Line" + std::to_string(first) + "lintra.log";
        if (last > first) name += " .. Line" + std::to_string(last) + "lintra.log";
        print(name, level[first], "");
        first = last + 1;
    }
    std::printf("%s\n", any ? "" : " none (every level is 0)");
}

}  // namespace

int main(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        bool help = std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0;
        std::fputs(kUsage, help ? stdout : stderr);
        if (!help) std::fprintf(stderr, "lintra-info: unknown argument '%s'\n", argv[i]);
        return help ? 0 : 2;
    }
    std::string loadedFrom;
    void *library = LoadLibrary(loadedFrom);
    if (library == nullptr) {
        std::fprintf(stderr, "lintra-info: cannot load liblintra.so: %s\n", dlerror());
        return 1;
    }
    std::printf("Loaded %s\nSettings store %s\n", loadedFrom.c_str(), tessel::hiveFile(tessel::Hive::CurrentUser).c_str());

    LibrarySettings settings;
    if (auto key = OpenKey(kPortServerKey)) ReadPortServer(*key, settings);
    if (auto key = OpenKey(kLineLoggingKey)) ReadLineLevels(*key, settings);
    if (auto key = OpenKey(kSpeedsKey)) ReadSpeeds(*key, settings);
    if (auto key = OpenKey(kPolicyKey)) ReadPolicy(*key, settings);

    PrintLoggingDefaults();
    PrintLineLevels(settings);
    PrintSpeeds(settings);
    PrintPolicy(settings.policy);
    std::printf("[%.*s]\n  CycleCount=%d\n", static_cast<int>(kPortServerKey.size()), kPortServerKey.data(),
                settings.cycleCount);
    PrintDisabledCommands();
    PrintLogFiles(settings);
    dlclose(library);
    return 0;
}

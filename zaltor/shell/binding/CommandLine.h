#pragma once
// The loader's command line: `zaltor [ALIAS [N]]` as the site's programs call it, plus options
// that begin with "--" and so never change how ALIAS and N are counted.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zaltor::shell {

enum class StartMode {
    Interactive,  // no positional argument, or the alias alone
    Batch,        // alias and panel number: write that panel and end
    Help,
    Version,
    Refused,      // wrong command line: show `problem` and the usage, end with ExitStatus::Usage
};

struct CommandLine {
    StartMode mode = StartMode::Interactive;
    std::optional<std::string> alias;
    int32_t panel = 0;  // N of the panel's CTAB row; batch only
    // Batch only.
    bool verify = false;
    bool force = false;
    std::optional<std::string> saveFile;
    std::optional<std::string> loadFile;
    std::string problem;  // Refused only: one text for the user
    bool operator==(const CommandLine &) const = default;
};

// The message of three or more positional arguments, caption "Сообщение", information icon.
// The line breaks stand for the carriage returns a Windows message box breaks lines at.
inline constexpr std::string_view kParameterFormatMessage =
    "Неверный формат параметров для программы Zaltor.exe\n"
    "Необходимо задать параметры:\n"
    "формат Zaltor.exe <AliasBDE> {<N.Ctab для панели>}";
inline constexpr std::string_view kParameterFormatCaption = "Сообщение";

// args without the program name.
CommandLine parseCommandLine(const std::vector<std::string> &args);

// A panel number as typed: optional sign and decimal digits within 32 bits, nothing else.
std::optional<int32_t> parsePanelNumber(std::string_view text);

// What a panel number that is not an integer is reported as.
std::string panelNumberProblem(std::string_view text);

// The text of --help, also shown after a refused command line.
std::string_view usageText();

}  // namespace zaltor::shell

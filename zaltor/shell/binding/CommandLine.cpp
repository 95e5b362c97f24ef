#include "zaltor/shell/binding/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <utility>

namespace zaltor::shell {

namespace {

// A command line that ends the program at once: nothing else of it is kept.
CommandLine ending(StartMode mode, std::string problem = {}) {
    CommandLine line;
    line.mode = mode;
    line.problem = std::move(problem);
    return line;
}

bool isOption(const std::string &arg) { return arg.starts_with("--"); }

}  // namespace

std::string_view usageText() {
    return R"(Usage: zaltor [OPTION]... [ALIAS [N]]
Загрузчик адресных охранно-пожарных панелей M50
формат Zaltor.exe <AliasBDE> {<N.Ctab для панели>}

  ALIAS N         batch write: build the configuration of panel N (the N of its CTAB row)
                  from the site database ALIAS, write it into the panel and end; messages
                  and progress on standard error, never a question
  (no argument), ALIAS
                  the panel list window, which this build does not have yet (status 2)

Batch options (with ALIAS and N only):
  --verify        after writing, read the configuration back from the panel and list every
                  difference from what was written (status 1 when there is any)
  --save FILE     instead of writing, read the panel's configuration into the file FILE
  --load FILE     instead of building from the database, write the configuration file FILE
  --force         with --load: write a file that was read only in part (its records up to
                  where reading stopped)

Other options:
  --help          show this text and end
  --version       show the version and end
  --              end of options: what follows is ALIAS and N even when it begins with --
An option's value may also be given as --save=FILE.

Exit status:
  0  done
  1  the write failed after connecting (a command, an error answer, an abort, a signal)
  2  wrong command line, or N is not an integer
  3  the site database cannot be reached
  4  N is not an M50 panel of CTAB
  5  no connection to the panel
  6  the library cannot be bound
)";
}

std::optional<int32_t> parsePanelNumber(std::string_view text) {
    // from_chars takes a minus sign but not a plus sign; "+-1" stays refused.
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
    int32_t number = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return number;
}

std::string panelNumberProblem(std::string_view text) {
    return "Номер панели по Ctab=" + std::string(text) + " не является целым числом";
}

CommandLine parseCommandLine(const std::vector<std::string> &args) {
    CommandLine line;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    std::string problem;  // the first one found
    std::vector<std::string> positional;
    const std::pair<std::string_view, bool *> flags[] = {
        {"--help", &help}, {"--version", &version}, {"--verify", &line.verify}, {"--force", &line.force}};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (optionsEnded || !isOption(arg)) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        size_t equals = arg.find('=');
        std::string name = arg.substr(0, equals);
        std::optional<std::string> attached;
        if (equals != std::string::npos) attached = arg.substr(equals + 1);
        std::string found;
        if (name == "--save" || name == "--load") {
            std::optional<std::string> &file = name == "--save" ? line.saveFile : line.loadFile;
            // "--save --force" is a forgotten name, not a file called --force.
            if (!attached && i + 1 < args.size() && !isOption(args[i + 1])) attached = args[++i];
            if (!attached || attached->empty())
                found = name + " needs a file name";
            else if (file)
                found = name + " is given twice";
            else
                file = attached;
        } else if (auto flag = std::find_if(std::begin(flags), std::end(flags),
                                            [&name](const auto &f) { return f.first == name; });
                   flag != std::end(flags)) {
            *flag->second = true;
            if (attached) found = name + " takes no value";
        } else {
            found = "unknown option " + name;
        }
        if (problem.empty()) problem = found;
    }

    // Asked for help, the user gets it whatever else is wrong.
    if (help) return ending(StartMode::Help);
    if (version) return ending(StartMode::Version);
    if (!problem.empty()) return ending(StartMode::Refused, problem);
    if (positional.size() > 2) return ending(StartMode::Refused, std::string(kParameterFormatMessage));
    if (positional.size() < 2 && (line.verify || line.force || line.saveFile || line.loadFile))
        return ending(StartMode::Refused, "--verify, --force, --save and --load need ALIAS and N");
    if (!positional.empty()) line.alias = positional[0];
    if (positional.size() == 2) {
        std::optional<int32_t> panel = parsePanelNumber(positional[1]);
        if (!panel) return ending(StartMode::Refused, panelNumberProblem(positional[1]));
        line.mode = StartMode::Batch;
        line.panel = *panel;
    }
    return line;
}

}  // namespace zaltor::shell

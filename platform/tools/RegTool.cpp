// tessel-reg: reads and changes the settings hives from the command line.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/HiveFile.h"
#include "platform/KeyName.h"
#include "platform/RegImport.h"
#include "platform/RegText.h"
#include "platform/Registry.h"

namespace {

using tessel::Hive;
using tessel::RegKey;
using tessel::RegValue;

constexpr int kOk = 0, kMissing = 1, kFailed = 2;

const char kUsage[] =
    "usage: tessel-reg [--user | --machine] COMMAND\n"
    "  get KEY NAME [--inverted]      print a value: a dword in decimal, a string as its bytes\n"
    "  set KEY NAME (--dword N | --string TEXT | --hex AA,BB,..) [--inverted]\n"
    "                                 store a value, creating the key; --inverted stores every\n"
    "                                 byte bit-inverted (the form of stored credentials)\n"
    "  delete KEY [NAME]              delete a value, or a key with everything below it\n"
    "  list [KEY]                     print a key and its subkeys (default: the whole hive)\n"
    "  import FILE                    bring in a .reg file or a Windows export; keys under\n"
    "                                 HKEY_CURRENT_USER / HKEY_LOCAL_MACHINE go to that hive\n"
    "  --user (default) / --machine select the hive; KEY is backslash-separated, e.g.\n"
    "  'Software\\Tessel\\Lintra\\Logging'.\n"
    "Exit status: 0 done, 1 key or value missing, 2 usage error or write failure.\n";

struct Args {
    Hive hive = Hive::CurrentUser;
    bool inverted = false;
    std::optional<std::pair<std::string, std::string>> data;  // --dword/--string/--hex and its text
    std::vector<std::string> words;
};

int usageError(const std::string &why) {
    std::cerr << "tessel-reg: " << why << "\n" << kUsage;
    return kFailed;
}

int missing(const std::string &what) {
    std::cerr << "tessel-reg: " << what << "\n";
    return kMissing;
}

std::string invert(std::string bytes) {
    for (char &c : bytes) c = static_cast<char>(~static_cast<unsigned char>(c));
    return bytes;
}

std::optional<uint32_t> parseDword(const std::string &text) {
    if (text.empty() || text[0] == '-') return std::nullopt;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char *end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(text.c_str(), &end, hex ? 16 : 10);
    if (*end != '\0' || errno == ERANGE || v > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<uint32_t>(v);
}

std::optional<std::string> parseHexList(const std::string &text) {
    std::string bytes;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(',', pos);
        if (end == std::string::npos) end = text.size();
        std::string item = text.substr(pos, end - pos);
        if (item.empty() || item.size() > 2 ||
            item.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return std::nullopt;
        bytes += static_cast<char>(std::strtoul(item.c_str(), nullptr, 16));
        pos = end + 1;
        if (end + 1 == text.size()) return std::nullopt;  // a trailing comma
    }
    return bytes;
}

// The value `set` stores, or an error text.
std::variant<RegValue, std::string> valueToSet(const Args &a) {
    const auto &[form, text] = *a.data;
    if (form == "--dword") {
        if (a.inverted) return std::string("--inverted applies to strings only");
        auto v = parseDword(text);
        if (!v) return "not a 32-bit number: " + text;
        return RegValue{RegValue::Type::Dword, *v, {}};
    }
    std::optional<std::string> bytes = form == "--hex" ? parseHexList(text) : text;
    if (!bytes) return "not a list of hex bytes: " + text;
    return RegValue{RegValue::Type::String, 0, a.inverted ? invert(*bytes) : *bytes};
}

int cmdGet(const Args &a) {
    auto key = RegKey::open(a.hive, a.words[1], false);
    if (!key) return missing("no key " + a.words[1]);
    auto v = key->read(a.words[2]);
    if (!v) return missing("no value " + a.words[2] + " in " + a.words[1]);
    if (v->type == RegValue::Type::Dword)
        std::cout << v->dword << "\n";
    else
        std::cout << (a.inverted ? invert(v->bytes) : v->bytes) << "\n";
    return kOk;
}

int cmdSet(const Args &a) {
    if (!a.data) return usageError("set needs --dword, --string or --hex");
    if (!tessel::storableName(a.words[1]) || !tessel::storableName(a.words[2]))
        return usageError("a key or value name cannot hold a line feed");
    auto v = valueToSet(a);
    if (auto *why = std::get_if<std::string>(&v)) return usageError(*why);
    const auto &value = std::get<RegValue>(v);
    auto key = RegKey::open(a.hive, a.words[1], true);
    bool ok =
        key && (value.type == RegValue::Type::Dword ? key->writeDword(a.words[2], value.dword)
                                                    : key->writeString(a.words[2], value.bytes));
    if (!ok) {
        std::cerr << "tessel-reg: cannot write " << tessel::hiveFile(a.hive) << "\n";
        return kFailed;
    }
    return kOk;
}

int cmdDelete(const Args &a) {
    if (tessel::normalizeKeyPath(a.words[1]).empty())
        return usageError("the root is no key to delete");
    auto key = RegKey::open(a.hive, a.words[1], false);
    if (!key) return missing("no key " + a.words[1]);
    bool ok;
    if (a.words.size() == 3) {
        if (!key->read(a.words[2])) return missing("no value " + a.words[2] + " in " + a.words[1]);
        ok = key->deleteValue(a.words[2]);
    } else {
        ok = tessel::deleteKey(a.hive, a.words[1]);
    }
    if (!ok) {
        std::cerr << "tessel-reg: cannot write " << tessel::hiveFile(a.hive) << "\n";
        return kFailed;
    }
    return kOk;
}

int cmdList(const Args &a) {
    const std::string root = tessel::normalizeKeyPath(a.words.size() > 1 ? a.words[1] : "");
    tessel::RegDocument doc = tessel::readHive(a.hive);
    if (!doc.keyExists(root)) return missing("no key " + root);
    for (const auto &path : doc.keyPaths()) {
        if (!root.empty() && !tessel::sameName(path, root) && !tessel::isBelow(path, root))
            continue;
        std::cout << tessel::formatKeyLine(path) << "\n";
        for (const auto &[name, value] : doc.values(path))
            std::cout << tessel::formatValueLine(name, value) << "\n";
        std::cout << "\n";
    }
    return kOk;
}

int cmdImport(const Args &a) {
    std::ifstream in(a.words[1], std::ios::binary);
    if (!in) {
        std::cerr << "tessel-reg: cannot read " << a.words[1] << "\n";
        return kFailed;
    }
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto result = tessel::importRegText(text, a.hive);
    for (const auto &line : result.skipped) std::cerr << "tessel-reg: skipped: " << line << "\n";
    if (!result.written) {
        std::cerr << "tessel-reg: cannot write the hive; nothing of " << a.words[1]
                  << " was stored there\n";
        return kFailed;
    }
    std::cerr << "tessel-reg: imported " << result.values << " values\n";
    return kOk;
}

struct Command {
    const char *name;
    size_t minWords, maxWords;  // including the command itself
    int (*run)(const Args &);
};

constexpr Command kCommands[] = {
    {"get", 3, 3, cmdGet},   {"set", 3, 3, cmdSet},       {"delete", 2, 3, cmdDelete},
    {"list", 1, 2, cmdList}, {"import", 2, 2, cmdImport},
};

}  // namespace

int main(int argc, char **argv) {
    Args a;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return kOk;
        } else if (arg == "--user") {
            a.hive = Hive::CurrentUser;
        } else if (arg == "--machine") {
            a.hive = Hive::LocalMachine;
        } else if (arg == "--inverted") {
            a.inverted = true;
        } else if (arg == "--dword" || arg == "--string" || arg == "--hex") {
            if (a.data) return usageError("give one value");
            if (i + 1 >= argc) return usageError(arg + " needs a value");
            a.data.emplace(arg, argv[++i]);
        } else if (arg.starts_with("--")) {
            return usageError("unknown option " + arg);
        } else {
            a.words.push_back(arg);
        }
    }
    if (a.words.empty()) return usageError("no command");
    for (const auto &c : kCommands) {
        if (a.words[0] != c.name) continue;
        if (a.words.size() < c.minWords || a.words.size() > c.maxWords)
            return usageError("wrong number of arguments for " + a.words[0]);
        if (a.data && a.words[0] != "set") return usageError("a value is given only to set");
        if (a.inverted && a.words[0] != "set" && a.words[0] != "get")
            return usageError("--inverted applies to get and set");
        return c.run(a);
    }
    return usageError("unknown command " + a.words[0]);
}

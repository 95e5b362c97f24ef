#pragma once
// The settings store that stands in for the registry: two hives kept as .reg text files,
// key paths and value names compared without regard to case, 32-bit integer and byte-string
// values, keys created on demand. Reads come from a snapshot taken when a key is opened;
// every write re-reads the hive under an exclusive flock, applies the change and renames a
// complete new file over the old one, so concurrent writers in several processes lose nothing
// and a reader never sees half a file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessel {

enum class Hive { CurrentUser, LocalMachine };

// File of a hive: $TESSEL_USER_HIVE or ${XDG_CONFIG_HOME:-$HOME/.config}/tessel/registry, and
// $TESSEL_MACHINE_HIVE or /etc/tessel/registry.
std::string hiveFile(Hive hive);

struct RegValue {
    enum class Type { Dword, String };
    Type type = Type::Dword;
    uint32_t dword = 0;
    std::string bytes;  // the string's bytes for Type::String
};

class RegKey {
public:
    // Opens key `path` (backslash-separated, no hive root, leading or trailing backslashes
    // ignored). With create, a missing key is created (with its parents) and written at once.
    // Answers nullopt when the key is missing and not created, or the hive cannot be written.
    static std::optional<RegKey> open(Hive hive, std::string_view path, bool create);

    const std::string &path() const { return path_; }

    // nullopt when missing or of the other type.
    std::optional<uint32_t> readDword(std::string_view name) const;
    std::optional<std::string> readString(std::string_view name) const;
    std::optional<RegValue> read(std::string_view name) const;
    std::vector<std::string> valueNames() const;
    std::vector<std::string> subKeyNames() const;

    // Each write is one atomic update of the hive file; false when it could not be written.
    bool writeDword(std::string_view name, uint32_t value);
    bool writeString(std::string_view name, std::string_view bytes);
    bool deleteValue(std::string_view name);
    // Deletes a direct subkey with everything below it; a missing subkey is no error.
    bool deleteSubKey(std::string_view name);

private:
    RegKey(Hive hive, std::string path) : hive_(hive), path_(std::move(path)) {}
    Hive hive_;
    std::string path_;
    std::vector<std::pair<std::string, RegValue>> values_;  // snapshot, file order
    std::vector<std::string> subKeys_;
    friend class RegKeyAccess;
};

// Deletes key `path` with everything below it; a missing key is no error.
bool deleteKey(Hive hive, std::string_view path);

}  // namespace tessel

#pragma once
// A hive in memory: its keys in file order, each with its values and any lines we could not
// parse, kept verbatim where they stood so that rewriting the file never loses what it held.
// Lines before the first key, and the lines of a key we cannot address (another hive root, an
// empty path, anything after a key deletion), live in opaque sections written back unchanged.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/RegText.h"

namespace tessel {

class RegDocument {
  public:
    RegDocument();
    static RegDocument parse(std::string_view text);
    std::string serialize() const;

    // Applies the statements of one file in order, as a reader of that file would.
    void apply(const std::vector<RegStatement> &statements);

    // A key exists when it has a section or lies above one.
    bool keyExists(std::string_view path) const;
    std::vector<std::pair<std::string, RegValue>> values(std::string_view path) const;
    // Direct subkeys in their stored spelling, each once, in file order.
    std::vector<std::string> subKeyNames(std::string_view path) const;
    // Every addressable key path in file order.
    std::vector<std::string> keyPaths() const;

    // Creates the key and its missing parents.
    void ensureKey(std::string_view path);
    // Creates the key as needed; an existing value keeps the spelling of its name. The root
    // holds no values: false for an empty path.
    bool setValue(std::string_view path, std::string_view name, const RegValue &value);
    // False when there was no such value.
    bool deleteValue(std::string_view path, std::string_view name);
    // Deletes the key with everything below it; false when it did not exist.
    bool deleteKey(std::string_view path);

  private:
    struct Entry {
        bool raw = false;
        std::string name;
        RegValue value;
        std::string text;  // raw only
    };
    struct Section {
        bool opaque = false;
        std::string path;
        std::vector<Entry> entries;
    };
    Section *find(std::string_view path);
    const Section *find(std::string_view path) const;
    Section &sectionFor(std::string_view path);
    Section &newOpaque();

    std::vector<Section> sections_;  // [0] holds the lines before the first key
};

}  // namespace tessel

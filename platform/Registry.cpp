#include "platform/Registry.h"

#include <algorithm>

#include "platform/HiveFile.h"
#include "platform/KeyName.h"
#include "platform/RegText.h"

namespace tessel {

class RegKeyAccess {
  public:
    static RegKey make(Hive hive, std::string path, const RegDocument &doc) {
        RegKey key(hive, std::move(path));
        load(key, doc);
        return key;
    }
    static void load(RegKey &key, const RegDocument &doc) {
        key.values_ = doc.values(key.path_);
        key.subKeys_ = doc.subKeyNames(key.path_);
    }
    static bool update(RegKey &key, std::string_view name,
                       const std::function<void(RegDocument &)> &change) {
        if (!storableName(name)) return false;
        auto doc = updateHive(key.hive_, change);
        if (!doc) return false;
        load(key, *doc);
        return true;
    }
};

std::optional<RegKey> RegKey::open(Hive hive, std::string_view path, bool create) {
    std::string p = normalizeKeyPath(path);
    RegDocument doc = readHive(hive);
    if (doc.keyExists(p)) return RegKeyAccess::make(hive, std::move(p), doc);
    if (!create || !storableName(p)) return std::nullopt;
    auto written = updateHive(hive, [&](RegDocument &d) { d.ensureKey(p); });
    if (!written) return std::nullopt;
    return RegKeyAccess::make(hive, std::move(p), *written);
}

std::optional<RegValue> RegKey::read(std::string_view name) const {
    auto it = std::find_if(values_.begin(), values_.end(),
                           [&](const auto &v) { return sameName(v.first, name); });
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::optional<uint32_t> RegKey::readDword(std::string_view name) const {
    auto v = read(name);
    if (!v || v->type != RegValue::Type::Dword) return std::nullopt;
    return v->dword;
}

std::optional<std::string> RegKey::readString(std::string_view name) const {
    auto v = read(name);
    if (!v || v->type != RegValue::Type::String) return std::nullopt;
    return v->bytes;
}

std::vector<std::string> RegKey::valueNames() const {
    std::vector<std::string> names;
    for (const auto &v : values_) names.push_back(v.first);
    return names;
}

std::vector<std::string> RegKey::subKeyNames() const {
    return subKeys_;
}

bool RegKey::writeDword(std::string_view name, uint32_t value) {
    if (path_.empty()) return false;  // the root holds no values
    RegValue v{RegValue::Type::Dword, value, {}};
    return RegKeyAccess::update(*this, name, [&](RegDocument &d) { d.setValue(path_, name, v); });
}

bool RegKey::writeString(std::string_view name, std::string_view bytes) {
    if (path_.empty()) return false;
    RegValue v{RegValue::Type::String, 0, std::string(bytes)};
    return RegKeyAccess::update(*this, name, [&](RegDocument &d) { d.setValue(path_, name, v); });
}

bool RegKey::deleteValue(std::string_view name) {
    return RegKeyAccess::update(*this, name, [&](RegDocument &d) { d.deleteValue(path_, name); });
}

bool RegKey::deleteSubKey(std::string_view name) {
    std::string sub = normalizeKeyPath(name);
    if (sub.empty()) return false;
    std::string full = path_.empty() ? sub : path_ + "\\" + sub;
    return RegKeyAccess::update(*this, sub, [&](RegDocument &d) { d.deleteKey(full); });
}

bool deleteKey(Hive hive, std::string_view path) {
    std::string p = normalizeKeyPath(path);
    if (p.empty()) return false;
    return updateHive(hive, [&](RegDocument &d) { d.deleteKey(p); }).has_value();
}

}  // namespace tessel

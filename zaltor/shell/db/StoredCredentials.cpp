#include "zaltor/shell/db/StoredCredentials.h"

#include "platform/Registry.h"

namespace zaltor::shell {

std::string invertBytes(std::string_view bytes) {
    std::string out(bytes);
    for (char &c : out) c = static_cast<char>(~static_cast<unsigned char>(c));
    return out;
}

std::string credentialsKey(std::string_view alias) {
    return "SOFTWARE\\Tessel\\CONFIG\\" + std::string(alias);
}

std::optional<TStoredCredentials> readStoredCredentials(std::string_view alias, std::string *why) {
    const std::string path = credentialsKey(alias);
    const auto key = tessel::RegKey::open(tessel::Hive::LocalMachine, path, false);
    if (!key) {
        *why = "нет ключа HKEY_LOCAL_MACHINE\\" + path + " (" + tessel::hiveFile(tessel::Hive::LocalMachine) + ")";
        return std::nullopt;
    }
    TStoredCredentials clear;
    for (auto [name, out] : {std::pair{"UserName", &clear.userName}, std::pair{"Password", &clear.password}}) {
        const auto value = key->read(name);
        if (value && value->type != tessel::RegValue::Type::String) {
            *why = std::string("значение ") + name + " ключа HKEY_LOCAL_MACHINE\\" + path + " не строка";
            return std::nullopt;
        }
        if (value) *out = invertBytes(value->bytes);
    }
    return clear;
}

}  // namespace zaltor::shell

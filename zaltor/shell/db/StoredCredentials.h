#pragma once
// The credentials kept for unattended connection: the machine hive's key
// SOFTWARE\Tessel\CONFIG\<alias>, string values "UserName" and "Password", each stored with
// every byte's bits inverted. Nothing here writes them; a site engineer sets them with tessel-reg.
#include <optional>
#include <string>
#include <string_view>

namespace zaltor::shell {

// The stored form and the clear text are each other's bitwise complement, byte by byte.
std::string invertBytes(std::string_view bytes);

std::string credentialsKey(std::string_view alias);

// Clear text, 8-bit Windows Cyrillic as the values were stored.
struct TStoredCredentials {
    std::string userName;
    std::string password;
};

// A missing value reads as empty. nullopt, with the reason in `why` (UTF-8), when the key is
// missing or a value is not a string.
std::optional<TStoredCredentials> readStoredCredentials(std::string_view alias, std::string *why);

}  // namespace zaltor::shell

#pragma once
// The database aliases: aliases.ini, one section per alias. The files are searched in order
// and the first that defines an alias wins whole (no keys merge across files). Alias names
// compare as the settings store compares key names, since each names a key of its credentials.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zaltor::shell {

// $TESSEL_ALIASES alone when set; otherwise ${XDG_CONFIG_HOME:-$HOME/.config}/tessel/aliases.ini,
// then /etc/tessel/aliases.ini.
std::vector<std::string> aliasFiles();

struct TAliasEntry {
    std::string name;      // as its section spells it
    std::string driver;    // Driver= as written: "STANDARD", "INTRBASE", "ORACLE" or anything else
    std::string path;      // Path= (an SQLite file), made absolute against the folder of `file`
    std::string server;    // Server=: a database server's host, "host/port" for another port
    std::string database;  // Database=: the database on that server
    std::string file;      // the aliases.ini that defines it
};

class TAliasList {
public:
    // Files that cannot be read define nothing.
    static TAliasList load(const std::vector<std::string> &files);

    // Adds the aliases of one file's text, behind those already there; `file` is its path.
    // A section without a name or with a backslash in it is no alias: it would name another
    // key of the settings store than the alias's own.
    void add(std::string_view text, const std::string &file);

    const std::vector<std::string> &files() const { return files_; }
    // Every alias once, in the order found.
    std::vector<std::string> names() const;
    std::optional<TAliasEntry> find(std::string_view alias) const;

private:
    std::vector<std::string> files_;
    std::vector<TAliasEntry> entries_;
};

}  // namespace zaltor::shell

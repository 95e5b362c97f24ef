#pragma once
// What the process tests of zaltor share: the demo site in an SQLite database, a port name
// mapped to a device, and zaltor run in the current directory with its exit status and log.
#include <sqlite3.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/Registry.h"

namespace zaltor::test {

inline std::string FileText(const std::string &path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The schema and the demo site loaded into a new SQLite database at `path`.
inline void CreateSqliteSite(const std::string &path) {
    sqlite3 *handle = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &handle), SQLITE_OK);
    for (const char *script : {SCHEMA_SQL, SITE_SQL})
        EXPECT_EQ(sqlite3_exec(handle, FileText(script).c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << script;
    sqlite3_close(handle);
}

// Stores the credentials of `alias` as a site engineer does: each byte's bits inverted.
inline void StoreCredentials(const std::string &alias, const std::string &invertedUser,
                             const std::string &invertedPassword) {
    auto key = tessel::RegKey::open(tessel::Hive::LocalMachine, "SOFTWARE\\Tessel\\CONFIG\\" + alias, true);
    EXPECT_TRUE(key && key->writeString("UserName", invertedUser) && key->writeString("Password", invertedPassword));
}

inline void MapPort(const std::string &com, const std::string &device) {
    auto ports = tessel::RegKey::open(tessel::Hive::LocalMachine, "SOFTWARE\\Tessel\\Ports", true);
    ASSERT_TRUE(ports && ports->writeString(com, device));
}

struct Outcome {
    int status;
    std::string err;
    // The end of the log, enough to see why a run failed.
    std::string tail() const { return err.substr(err.size() > 3000 ? err.size() - 3000 : 0); }
};

inline Outcome Zaltor(const std::string &args) {
    const int status = std::system((std::string(ZALTOR) + " " + args + " 2> err.txt").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileText("err.txt")};
}

}  // namespace zaltor::test

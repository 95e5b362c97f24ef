#pragma once
// One test's site: its aliases.ini (TESSEL_ALIASES) and both settings hives in a temporary
// folder, and the credentials stored there as the site engineer stores them: inverted.
#include <gtest/gtest.h>

#include <string>

#include "platform/Registry.h"
#include "testsupport/TempDir.h"
#include "zaltor/shell/db/StoredCredentials.h"

namespace zaltor::shell {

struct SiteFixture {
    testsupport::TempDir dir;
    testsupport::ScopedEnv aliasesFile{"TESSEL_ALIASES", (dir / "aliases.ini").string()};
    testsupport::ScopedEnv machineHive{"TESSEL_MACHINE_HIVE", (dir / "machine.reg").string()};
    testsupport::ScopedEnv userHive{"TESSEL_USER_HIVE", (dir / "user.reg").string()};

    void aliases(const std::string &text) const { dir.write("aliases.ini", text); }

    // `storedUser` and `storedPassword` are the stored bytes, already inverted or not.
    static void storeRaw(const std::string &alias, const std::string &storedUser, const std::string &storedPassword,
                         tessel::Hive hive = tessel::Hive::LocalMachine) {
        auto key = tessel::RegKey::open(hive, credentialsKey(alias), true);
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->writeString("UserName", storedUser));
        ASSERT_TRUE(key->writeString("Password", storedPassword));
    }
    static void store(const std::string &alias, const std::string &user = "SYSDBA",
                      const std::string &password = "masterkey") {
        storeRaw(alias, invertBytes(user), invertBytes(password));
    }
};

}  // namespace zaltor::shell

#pragma once
// A private Firebird server for a test: its own root folder (configuration, a copy of the
// security database, lock and scratch files) in a temporary directory, listening on 127.0.0.1
// at a free port of its own, so it never meets the machine's server on 3050 nor another test's.
// It runs as the firebird user, so the database files it makes belong to that user, and it is
// stopped by its pid.
#include <sys/types.h>

#include <cstdint>
#include <string>

#include "testsupport/TempDir.h"

namespace testsupport {

class FirebirdServer {
public:
    // Why no server can run here (no server binary, not root, no firebird user), or empty:
    // a test skips itself with this text.
    static std::string unavailable();

    // Starts the server and waits until it listens; throws std::runtime_error when it cannot.
    FirebirdServer();
    // SIGTERM, then waits for it to end; SIGKILL when it has not after a few seconds.
    ~FirebirdServer();
    FirebirdServer(const FirebirdServer &) = delete;
    FirebirdServer &operator=(const FirebirdServer &) = delete;

    // A client's host: "127.0.0.1/<port>".
    std::string server() const;
    static constexpr const char *kUser = "SYSDBA";
    const std::string &password() const { return password_; }

    // Creates a database with UTF8 as its character set and answers the file's path.
    std::string createDatabase(const std::string &name) const;

private:
    bool start(uint16_t port, std::string *why);
    void stop();

    TempDir dir_;
    std::string password_;
    pid_t pid_ = -1;
    uint16_t port_ = 0;
};

}  // namespace testsupport

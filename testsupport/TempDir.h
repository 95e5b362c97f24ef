#pragma once
// A fresh directory per test, removed afterwards. ScopedEnv points the settings hives and the
// IPC namespace at it, so suites running side by side never share state.
#include <filesystem>
#include <optional>
#include <string>

namespace testsupport {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::filesystem::path &path() const { return path_; }
    std::filesystem::path operator/(const std::string &name) const { return path_ / name; }
    // Writes text to a file in the directory and answers its path.
    std::filesystem::path write(const std::string &name, const std::string &text) const;
    std::string read(const std::string &name) const;

private:
    std::filesystem::path path_;
};

// Sets an environment variable for the lifetime of the object, restoring the old value.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::string &value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// A temporary directory that is also the current directory, with both settings hives and the
// IPC namespace inside it: what a test of the library's load sequence needs.
class IsolatedHost {
public:
    IsolatedHost();
    ~IsolatedHost();
    const TempDir &dir() const { return dir_; }

private:
    TempDir dir_;
    ScopedEnv user_;
    ScopedEnv machine_;
    ScopedEnv ipc_;
    std::filesystem::path oldCwd_;
};

}  // namespace testsupport

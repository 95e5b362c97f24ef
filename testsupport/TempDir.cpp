#include "testsupport/TempDir.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tessel-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::filesystem::path TempDir::write(const std::string &name, const std::string &text) const {
    auto file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    return file;
}

std::string TempDir::read(const std::string &name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ScopedEnv::ScopedEnv(std::string name, const std::string &value) : name_(std::move(name)) {
    if (const char *old = std::getenv(name_.c_str())) old_ = old;
    setenv(name_.c_str(), value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (old_)
        setenv(name_.c_str(), old_->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

IsolatedHost::IsolatedHost()
    : user_("TESSEL_USER_HIVE", (dir_.path() / "user.reg").string()),
      machine_("TESSEL_MACHINE_HIVE", (dir_.path() / "machine.reg").string()),
      ipc_("LINTRA_IPC_NAMESPACE", "t" + std::to_string(getpid()) + "-" + dir_.path().filename().string()),
      oldCwd_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir_.path());
}

IsolatedHost::~IsolatedHost() {
    std::error_code ec;
    std::filesystem::current_path(oldCwd_, ec);
}

}  // namespace testsupport

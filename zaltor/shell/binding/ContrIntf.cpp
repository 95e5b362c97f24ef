#include "zaltor/shell/binding/ContrIntf.h"

#include <dlfcn.h>

#include <cfenv>
#include <system_error>

namespace zaltor::shell {

namespace {

// A library constructor may change the rounding mode or flush denormals (one built with
// -ffast-math does); the program keeps the floating-point settings it had.
void *loadKeepingFloatingPoint(const std::string &file) {
    std::fenv_t saved;
    std::fegetenv(&saved);
    void *library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    std::fesetenv(&saved);
    return library;
}

template <typename Function>
bool lookUp(void *library, const char *name, Function &entry, std::string &error) {
    entry = reinterpret_cast<Function>(dlsym(library, name));
    if (entry == nullptr) error = std::string("no function ") + name + " in the library";
    return entry != nullptr;
}

}  // namespace

std::string libraryToLoad(const std::filesystem::path &programDir) {
    std::error_code ec;
    if (!programDir.empty() && std::filesystem::exists(programDir / kLintraLibraryName, ec))
        return (programDir / kLintraLibraryName).string();
    return kLintraLibraryName;
}

TLintraBinding::~TLintraBinding() { unbind(); }

bool TLintraBinding::bind() {
    std::error_code ec;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return bindFile(libraryToLoad(ec ? std::filesystem::path() : program.parent_path()));
}

bool TLintraBinding::bindFile(const std::string &file) {
    unbind();
    error_.clear();
    void *library = loadKeepingFloatingPoint(file);
    if (library == nullptr) {
        const char *why = dlerror();
        error_ = why != nullptr ? why : "cannot load " + file;
        return false;
    }
    Entries found;
    // In this order, so that the first missing one is the one named.
    bool complete = lookUp(library, "CloseCom", found.closeCom, error_) &&
                    lookUp(library, "LCBCommand", found.lcbCommand, error_) &&
                    lookUp(library, "SendPultCommand", found.sendPultCommand, error_) &&
                    lookUp(library, "StartPanel", found.startPanel, error_) &&
                    lookUp(library, "StartPanelNew", found.startPanelNew, error_) &&
                    lookUp(library, "SendCmdGetReply", found.sendCmdGetReply, error_) &&
                    lookUp(library, "DriverCreate", found.driverCreate, error_) &&
                    lookUp(library, "DriverDoCmd", found.driverDoCmd, error_) &&
                    lookUp(library, "DriverLineCreate", found.driverLineCreate, error_) &&
                    lookUp(library, "DriverLineDoCmd", found.driverLineDoCmd, error_);
    if (!complete) {
        dlclose(library);
        return false;
    }
    library_ = library;
    entries_ = found;
    return true;
}

void TLintraBinding::unbind() {
    if (library_ != nullptr) dlclose(library_);  // a failure to free changes nothing for us
    library_ = nullptr;
    entries_ = Entries{};
}

void TLintraBinding::CloseCom(int32_t line) {
    if (bound()) entries_.closeCom(line);
}

int32_t TLintraBinding::LCBCommand(uint16_t line, uint16_t cmd, uint16_t count, const uint8_t *params) {
    return bound() ? entries_.lcbCommand(line, cmd, count, params) : 4;
}

int32_t TLintraBinding::SendCmdGetReply(uint16_t line, int32_t address, uint16_t cmd, uint16_t count,
                                        const uint8_t *params, LintraEventRecord *reply) {
    return bound() ? entries_.sendCmdGetReply(line, address, cmd, count, params, reply) : -4;
}

int32_t TLintraBinding::SendPultCommand(uint16_t line, int32_t address, uint16_t cmd, uint16_t count,
                                        const uint8_t *params) {
    return bound() ? entries_.sendPultCommand(line, address, cmd, count, params) : 4;
}

int32_t TLintraBinding::StartPanel(int32_t line, const char *port, intptr_t wnd, uint16_t address) {
    return bound() ? entries_.startPanel(line, port, wnd, address) : -4;
}

int32_t TLintraBinding::DriverCreate(int32_t type, const char *params) {
    return bound() ? entries_.driverCreate(type, params) : -1;
}

int32_t TLintraBinding::DriverDoCmd(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2) {
    return bound() ? entries_.driverDoCmd(handle, cmd, p1, p2) : 0;
}

int32_t TLintraBinding::DriverLineCreate(int32_t driver, int32_t slot, int32_t lineType, const char *params) {
    return bound() ? entries_.driverLineCreate(driver, slot, lineType, params) : -1;
}

int32_t TLintraBinding::DriverLineDoCmd(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2) {
    return bound() ? entries_.driverLineDoCmd(handle, cmd, p1, p2) : -1;
}

}  // namespace zaltor::shell

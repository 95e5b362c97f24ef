#pragma once
// The loader's binding of liblintra.so: loaded at run time with dlopen, never linked, so that a
// missing or incomplete library is a message at start-up instead of a program that cannot start.
#include <filesystem>
#include <string>
#include <string_view>

#include "zaltor/shell/binding/LintraCalls.h"

namespace zaltor::shell {

// What start-up shows when bind fails; the text keeps the Windows file name on purpose.
inline constexpr std::string_view kBindFailureText = "Ошибка инициализации lintra.dll";
inline constexpr std::string_view kBindFailureCaption = "Ошибка";

inline constexpr const char *kLintraLibraryName = "liblintra.so";

// The library beside the program when there is one, else the bare name for the loader's path.
// A library beside the program is taken even when it proves unloadable: falling back to another
// copy on the path would hide the broken one.
std::string libraryToLoad(const std::filesystem::path &programDir);

class TLintraBinding final : public TLintraCalls {
public:
    TLintraBinding() = default;
    ~TLintraBinding() override;
    TLintraBinding(const TLintraBinding &) = delete;
    TLintraBinding &operator=(const TLintraBinding &) = delete;

    // Binds libraryToLoad(the running program's directory).
    bool bind();
    // Loads the file (a path, or a name for the loader's path) and looks up the ten functions;
    // on any failure nothing stays loaded or set and error() says why. A bound library is
    // unbound first.
    bool bindFile(const std::string &file);
    // Frees the library and clears every entry; harmless when nothing is bound.
    void unbind();
    bool bound() const { return library_ != nullptr; }
    // The loader's reason for the last failed bind.
    const std::string &error() const { return error_; }

    // Unbound, every call answers what the library answers for a line or object that does not
    // exist, instead of calling through a cleared entry.
    void CloseCom(int32_t line) override;
    int32_t LCBCommand(uint16_t line, uint16_t cmd, uint16_t count, const uint8_t *params) override;
    int32_t SendCmdGetReply(uint16_t line, int32_t address, uint16_t cmd, uint16_t count, const uint8_t *params,
                            LintraEventRecord *reply) override;
    int32_t SendPultCommand(uint16_t line, int32_t address, uint16_t cmd, uint16_t count,
                            const uint8_t *params) override;
    int32_t StartPanel(int32_t line, const char *port, intptr_t wnd, uint16_t address) override;
    int32_t DriverCreate(int32_t type, const char *params) override;
    int32_t DriverDoCmd(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2) override;
    int32_t DriverLineCreate(int32_t driver, int32_t slot, int32_t lineType, const char *params) override;
    int32_t DriverLineDoCmd(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2) override;

private:
    // Set all together or cleared all together.
    struct Entries {
        decltype(&::CloseCom) closeCom = nullptr;
        decltype(&::LCBCommand) lcbCommand = nullptr;
        decltype(&::SendPultCommand) sendPultCommand = nullptr;
        decltype(&::StartPanel) startPanel = nullptr;
        decltype(&::StartPanelNew) startPanelNew = nullptr;  // bound, never called
        decltype(&::SendCmdGetReply) sendCmdGetReply = nullptr;
        decltype(&::DriverCreate) driverCreate = nullptr;
        decltype(&::DriverDoCmd) driverDoCmd = nullptr;
        decltype(&::DriverLineCreate) driverLineCreate = nullptr;
        decltype(&::DriverLineDoCmd) driverLineDoCmd = nullptr;
    };

    void *library_ = nullptr;
    Entries entries_;
    std::string error_;
};

}  // namespace zaltor::shell

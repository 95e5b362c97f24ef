#pragma once
// What the engine needs from a user interface. The windows implement it with Qt; batch mode with
// standard error (StderrUi). The engine never touches a widget.
#include <string_view>

namespace zaltor::shell {

inline constexpr std::string_view kMessageCaption = "Сообщение";
inline constexpr std::string_view kErrorCaption = "Ошибка";

enum class MessageIcon { Information, Error };

class IEngineUi {
public:
    virtual ~IEngineUi() = default;
    // A modal message box.
    virtual void showMessage(std::string_view text, std::string_view caption, MessageIcon icon) = 0;
    // The operation indicator from the start of an operation to its clean-up.
    virtual void showIndicator() = 0;
    virtual void hideIndicator() = 0;
    // Shows progressLine(number, text) (ProgressText.h), then processes pending events.
    virtual void progress(int number, std::string_view text) = 0;
    // Lets a nested abort request or a repaint run inside a long operation.
    virtual void processEvents() = 0;
    virtual bool askYesNo(std::string_view text, std::string_view caption) = 0;
};

// A progress bar the engine advances: the main window's gauge, or the bar of a connection
// dialog.
class IProgressBar {
public:
    virtual ~IProgressBar() = default;
    virtual void setRange(int min, int max) = 0;
    virtual void setPosition(int position) = 0;
    virtual void step() = 0;
};

}  // namespace zaltor::shell

#include "zaltor/shell/connect/LibraryStatusText.h"

namespace zaltor::shell {

std::string_view libraryStatusText(int32_t result) {
    switch (result) {
    case 1: return "Неизвестная команда";
    case 2: return "Недостаточно параметров";
    case 3: return "Слишком много параметров";
    case 4: return "Линия не инициализирована";
    case 5: return "Неправильный параметр";
    default: return {};
    }
}

}  // namespace zaltor::shell

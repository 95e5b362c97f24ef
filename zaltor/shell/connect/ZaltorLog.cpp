#include "zaltor/shell/connect/ZaltorLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace zaltor::shell {

void ZaltorLog::line(std::string_view text) const {
    const int fd = ::open(file_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return;
    const std::string record = std::string(text) + "\n";
    [[maybe_unused]] const ssize_t written = ::write(fd, record.data(), record.size());
    ::close(fd);
}

}  // namespace zaltor::shell

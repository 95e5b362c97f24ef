#pragma once
// The diagnostic log "Zaltor.log". An engineer turns it on by creating the file; the loader only
// appends to a file that exists and never creates one.
#include <filesystem>
#include <string_view>

namespace zaltor::shell {

class ZaltorLog {
public:
    explicit ZaltorLog(std::filesystem::path file = "Zaltor.log") : file_(std::move(file)) {}

    // Appends text and a line end in one write; any error is ignored.
    void line(std::string_view text) const;

private:
    std::filesystem::path file_;
};

}  // namespace zaltor::shell

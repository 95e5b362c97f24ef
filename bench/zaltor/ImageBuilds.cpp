#include "bench/zaltor/ImageBuilds.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "zaltor/config/dbbuild/DbBuild.h"

namespace bench {
namespace {

constexpr int kDemoPanel = 1;

// Nobody watches the progress; showing it would be the caller's cost, not the build's.
class SilentUi final : public zaltor::shell::IEngineUi {
  public:
    void showMessage(std::string_view, std::string_view, zaltor::shell::MessageIcon) override {}
    void showIndicator() override {}
    void hideIndicator() override {}
    void progress(int, std::string_view) override {}
    void processEvents() override {}
    bool askYesNo(std::string_view, std::string_view) override { return false; }
};

}  // namespace

void reportBuilds(const char *name, const QSqlDatabase &db, const char *goal) {
    SilentUi ui;
    const zaltor::shell::OperationState state{.operation = true};
    std::vector<double> ms;
    for (int run = 0; run < kBuildRuns; ++run) {
        zaltor::ConfigImage image;
        const auto start = std::chrono::steady_clock::now();
        const auto built = zaltor::dbbuild::buildFromDatabase(db, kDemoPanel, image, ui, state);
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        if (built.status != zaltor::dbbuild::BuildStatus::kBuilt)
            throw std::runtime_error(std::string(name) +
                                     ": the build failed: " + built.error.toStdString());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("  3) image from %-10s min %.2f ms  median %.2f ms  (goal %s, %d runs)\n", name,
                ms.front(), (ms[kBuildRuns / 2 - 1] + ms[kBuildRuns / 2]) / 2, goal, kBuildRuns);
    std::fflush(stdout);
}

}  // namespace bench

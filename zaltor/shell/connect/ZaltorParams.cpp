#include "zaltor/shell/connect/ZaltorParams.h"

#include <algorithm>

#include "platform/Profile.h"

namespace zaltor::shell {

ZaltorParams readZaltorParams(const std::filesystem::path &file) {
    ZaltorParams params;
    const auto profile = tessel::Profile::load(file.string());
    if (!profile) return params;
    params.replayParam = profile->intValue("PARAMS", "ReplayParam", params.replayParam);
    params.sleepParam = std::max(0, profile->intValue("PARAMS", "SleepParam", params.sleepParam));
    return params;
}

}  // namespace zaltor::shell

#include "lintra/ports/intlcb/UnitTables.h"

#include <algorithm>
#include <string>

#include "lintra/ports/intlcb/HexText.h"
#include "lintra/ports/lines/com_unit.h"

namespace lintra {
namespace {

constexpr int kSpecialPeriod = 3;  // three normal selections between two special ones
// The rule without a step table: from the eighth consecutive miss on, skip ten selections.
constexpr uint32_t kBuiltInThreshold = 7;
constexpr uint32_t kBuiltInSkip = 10;

}  // namespace

TUnitTables::TUnitTables(int line, tessel::Clock &clock, const PolicySettings &policy)
    : line_(line), clock_(clock), policy_(policy) {}

std::optional<uint8_t> TUnitTables::ChooseUnit() {
    if (--specialCountdown_ < 0) {
        specialCountdown_ = kSpecialPeriod;
        if (const auto special = nextSpecial()) return special;
    }
    const int count = std::min<int>(LineState::UnitCount(line_), kMaxUnit + 1);
    if (const auto unit = nextInTurn(lastPolled_ + 1, count)) return unit;
    if (policy_.cycleTimeout != 0) clock_.sleepMs(static_cast<uint32_t>(policy_.cycleTimeout));
    return nextInTurn(0, count);
}

std::optional<uint8_t> TUnitTables::nextSpecial() {
    auto isSpecial = [this](int unit) {
        return policy_.specialUnit[static_cast<size_t>(unit)] && LineState::UnitInMask(line_, static_cast<uint8_t>(unit));
    };
    for (int pass = 0; pass < 2; ++pass)
        for (int unit = pass == 0 ? lastSpecial_ + 1 : 0; unit <= kMaxUnit; ++unit)
            if (isSpecial(unit)) {
                lastSpecial_ = unit;
                return static_cast<uint8_t>(unit);
            }
    return std::nullopt;
}

std::optional<uint8_t> TUnitTables::nextInTurn(int from, int to) {
    for (int unit = from; unit < to; ++unit) {
        const auto u = static_cast<uint8_t>(unit);
        if (!LineState::UnitInMask(line_, u)) continue;
        Row &row = rows_[u];
        if (row.skip > 0) {
            --row.skip;
            continue;
        }
        if (clock_.nowMs() >= row.deadlineMs) {
            lastPolled_ = unit;
            return u;
        }
    }
    return std::nullopt;
}

uint32_t TUnitTables::countMissing(uint8_t unit) {
    ++totalMissing_;
    if (!HasRow(unit)) return 0;
    return ++rows_[unit].noAnswer;
}

void TUnitTables::ApplyExclusion(uint8_t unit, Caller caller) {
    if (!HasRow(unit)) return;
    Row &row = rows_[unit];
    if (policy_.steps.empty()) {
        if (row.noAnswer <= kBuiltInThreshold) return;
        row.skip = kBuiltInSkip;
        if (caller == Caller::CountUnit) logExclusion("2. ", unit);
        return;
    }
    // The steps are thresholds in table order, compared like the built-in one: the last step
    // whose count the misses have passed decides.
    const NoAnswerStep *chosen = nullptr;
    for (const NoAnswerStep &step : policy_.steps)
        if (row.noAnswer > static_cast<uint32_t>(std::max(step.noConnCount, 0))) chosen = &step;
    if (!chosen) return;
    logExclusion(caller == Caller::CountUnit ? "1. " : "3. ", unit);
    row.skip = static_cast<uint32_t>(std::max(chosen->skipCount, 0));
    row.deadlineMs = clock_.nowMs() + static_cast<uint64_t>(std::max(chosen->timeMs, 0));
}

void TUnitTables::logExclusion(const char *prefix, uint8_t unit) const {
    LogLine(line_, std::string(prefix) + "Исключаем из опроса контроллер " + Hex2(unit), 4);
}

bool TUnitTables::isLastAnswer(uint8_t unit, const PanelFrame &answer) const {
    return HasRow(unit) && rows_[unit].lastAnswer.bytes == answer.bytes;
}

void TUnitTables::storeLastAnswer(uint8_t unit, const PanelFrame &answer) {
    if (HasRow(unit)) rows_[unit].lastAnswer = answer;
}

}  // namespace lintra

#pragma once
// The per-unit state of an intelligent line-controller master and the choice of the next unit
// to poll: special units first every fourth selection, then the units of the line's mask in
// turn, minus those skipped after an empty queue or excluded after missing answers.
#include <array>
#include <cstdint>
#include <optional>

#include "lintra/ports/PanelFrame.h"
#include "lintra/runtime/CommonProc.h"
#include "platform/Clock.h"

namespace lintra {

class TUnitTables {
public:
    static constexpr uint8_t kMaxUnit = 250;
    // Addresses above kMaxUnit (from client commands) have no row; they never index a table.
    static bool HasRow(uint8_t unit) { return unit <= kMaxUnit; }

    // Who applies the exclusion rule decides its log lines.
    enum class Caller { CountUnit, SilentReport };

    TUnitTables(int line, tessel::Clock &clock, const PolicySettings &policy);

    // The next unit to poll, or none.
    std::optional<uint8_t> ChooseUnit();
    // Skips or excludes the unit according to its no-answer count.
    void ApplyExclusion(uint8_t unit, Caller caller);

    uint32_t noAnswerCount(uint8_t unit) const { return HasRow(unit) ? rows_[unit].noAnswer : 0; }
    // Counts one more missing answer; answers the new count.
    uint32_t countMissing(uint8_t unit);
    void resetMissing(uint8_t unit) { if (HasRow(unit)) rows_[unit].noAnswer = 0; }
    uint64_t totalMissing() const { return totalMissing_; }

    uint32_t skipCount(uint8_t unit) const { return HasRow(unit) ? rows_[unit].skip : 0; }
    void setSkipCount(uint8_t unit, uint32_t count) { if (HasRow(unit)) rows_[unit].skip = count; }
    uint64_t skipDeadline(uint8_t unit) const { return HasRow(unit) ? rows_[unit].deadlineMs : 0; }

    // The answer kept for repeat detection (all 16 bytes compared).
    bool isLastAnswer(uint8_t unit, const PanelFrame &answer) const;
    void storeLastAnswer(uint8_t unit, const PanelFrame &answer);

private:
    struct Row {
        uint32_t noAnswer = 0;
        uint32_t skip = 0;
        uint64_t deadlineMs = 0;
        PanelFrame lastAnswer{};
    };

    std::optional<uint8_t> nextSpecial();
    std::optional<uint8_t> nextInTurn(int from, int to);
    void logExclusion(const char *prefix, uint8_t unit) const;

    const int line_;
    tessel::Clock &clock_;
    const PolicySettings &policy_;
    std::array<Row, kMaxUnit + 1> rows_{};
    int specialCountdown_ = 0;
    int lastSpecial_ = 0;
    int lastPolled_ = 0;
    uint64_t totalMissing_ = 0;
};

}  // namespace lintra

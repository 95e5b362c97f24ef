#include "lintra/ports/CommandTables.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace lintra {
namespace {

struct Row {
    std::initializer_list<uint16_t> codes;
    ParamRange params;
};

template <size_t Size>
std::array<std::optional<ParamRange>, Size> makeTable(std::initializer_list<Row> rows) {
    std::array<std::optional<ParamRange>, Size> table{};
    for (const Row &row : rows)
        for (uint16_t code : row.codes) table[code] = row.params;
    return table;
}

ParamRange exactly(uint16_t count) { return {count, count}; }

const auto kPanelTable = makeTable<110>({
    {{1, 4, 18, 86, 93, 100}, exactly(0)},
    {{81, 91, 94, 95, 96, 101, 105, 107, 109}, exactly(1)},
    {{12, 80, 82, 83, 85, 87, 88, 90, 97, 104}, exactly(2)},
    {{102, 103}, exactly(3)},
    {{92}, exactly(4)},
    {{3, 99, 108}, exactly(5)},
    {{8, 89}, exactly(6)},
    {{98, 106}, exactly(9)},
    {{84}, exactly(10)},
});

const auto kControllerTable = makeTable<256>({
    {{4, 19, 21, 23, 24, 31, 60, 127, 242, 243}, {0, 0}},
    {{52}, {0, 1}},
    {{44, 46}, {0, 2}},
    {{120, 121, 122}, {0, 65535}},
    {{9, 14, 20, 22, 25, 29, 33, 34, 35, 36, 37, 38, 39, 42, 54, 55, 112, 113, 124, 125}, {1, 10}},
    {{5, 6, 12, 15, 16, 30, 40, 41, 47, 49, 51}, {2, 10}},
    {{10, 53}, {3, 10}},
    {{11, 43, 45, 59}, {4, 10}},
    {{3, 32, 50}, {5, 10}},
    {{48}, {6, 10}},
    {{8}, {7, 10}},
    {{62}, {8, 10}},
    {{13}, {9, 10}},
    {{126}, {10, 10}},
    {{ControllerCommandTable::kColonCommand}, {7, 10}},
});

template <size_t Size>
std::optional<ParamRange> lookUp(const std::array<std::optional<ParamRange>, Size> &table,
                                 uint16_t code) {
    return code < table.size() ? table[code] : std::nullopt;
}

// The table's verdict on count, then the frame's: a frame ends at byte 14 at the latest.
CommandCheck checkCount(const std::optional<ParamRange> &range, size_t count, size_t frameLength) {
    if (!range) return CommandCheck::NotInTable;
    if (count < range->min) return CommandCheck::TooFew;
    if (count > range->max || frameLength > PanelFrame::kMaxLength) return CommandCheck::TooMany;
    return CommandCheck::Built;
}

PanelFrame colonFrame(uint8_t address, std::span<const uint8_t> params, ControllerLink link) {
    constexpr size_t kSerialParams = 7;  // bytes 3..9
    PanelFrame frame;
    frame.bytes[0] = static_cast<uint8_t>(PanelFrame::kLengthMarker | (params.size() + 6));
    frame.bytes[1] = address;
    frame.bytes[2] = ControllerCommandTable::kColonCommand;
    const size_t copied = link == ControllerLink::Tcp ? params.size() : kSerialParams;
    std::copy_n(params.begin(), copied, frame.bytes.begin() + 3);
    return frame;
}

}  // namespace

CommandCheck PanelCommandTable::Build(uint8_t address, uint16_t code,
                                      std::span<const uint8_t> params, PanelFrame &frame) {
    const CommandCheck check = checkCount(lookUp(kPanelTable, code), params.size(), params.size() + 4);
    if (check == CommandCheck::Built)
        frame = PanelFrame::command(address, static_cast<uint8_t>(code), params);
    return check;
}

std::optional<ParamRange> ControllerCommandTable::Params(uint16_t code) {
    return lookUp(kControllerTable, code);
}

CommandCheck ControllerCommandTable::Build(uint8_t address, uint16_t code,
                                           std::span<const uint8_t> params, ControllerLink link,
                                           PanelFrame &frame) {
    const bool colon = code == kColonCommand;
    const size_t frameLength = params.size() + (colon ? 6 : 4);
    const CommandCheck check = checkCount(Params(code), params.size(), frameLength);
    if (check == CommandCheck::Built)
        frame = colon ? colonFrame(address, params, link)
                      : PanelFrame::command(address, static_cast<uint8_t>(code), params);
    return check;
}

}  // namespace lintra

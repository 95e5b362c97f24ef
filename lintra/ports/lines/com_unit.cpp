#include "lintra/ports/lines/com_unit.h"

#include <mutex>

#include "lintra/host/WindowRegistry.h"

namespace lintra {

namespace {

struct Tables {
    std::mutex lineMutex;
    std::array<std::shared_ptr<TPortControl>, kLineCount> lines;
    // Written by the exports, read by the lines' threads.
    std::array<std::array<std::atomic<uint8_t>, LineState::kUnitMaskBytes>, kLineCount> unitMask{};
    std::array<std::atomic<uint16_t>, kLineCount> unitCount{};
    std::array<std::atomic<uint16_t>, kLineCount> unitLimit{};
    std::array<std::atomic<uint16_t>, kLineCount> msgNumber{};
    std::array<std::atomic<uint16_t>, kLineCount> speedMode{};
    std::atomic<intptr_t> clientWindow{host::kApplicationWindow};

    Tables() { reset(); }
    void reset() {
        for (int line = 0; line < kLineCount; ++line) {
            for (auto &byte : unitMask[line]) byte.store(0);
            unitCount[line].store(0);
            unitLimit[line].store(LineState::kDefaultUnitLimit);
            msgNumber[line].store(0);
            speedMode[line].store(LineState::kDefaultSpeedMode);
        }
    }
};

Tables &tables() {
    static Tables *t = new Tables;  // lines' threads may still read the tables at exit
    return *t;
}

uint16_t read(const std::array<std::atomic<uint16_t>, kLineCount> &table, int line) {
    return IsLineNumber(line) ? table[line].load() : 0;
}

void write(std::array<std::atomic<uint16_t>, kLineCount> &table, int line, uint16_t value) {
    if (IsLineNumber(line)) table[line].store(value);
}

}  // namespace

std::shared_ptr<TPortControl> LineTable::Get(int line) {
    if (!IsLineNumber(line)) return nullptr;
    Tables &t = tables();
    std::lock_guard lock(t.lineMutex);
    return t.lines[line];
}

bool LineTable::Put(int line, std::shared_ptr<TPortControl> object) {
    if (!IsLineNumber(line)) return false;
    Tables &t = tables();
    std::lock_guard lock(t.lineMutex);
    if (t.lines[line]) return false;
    t.lines[line] = std::move(object);
    return true;
}

std::shared_ptr<TPortControl> LineTable::Take(int line) {
    if (!IsLineNumber(line)) return nullptr;
    Tables &t = tables();
    std::lock_guard lock(t.lineMutex);
    return std::move(t.lines[line]);
}

namespace LineState {

void Reset() { tables().reset(); }

uint8_t UnitMaskByte(int line, size_t index) {
    return IsLineNumber(line) && index < kUnitMaskBytes ? tables().unitMask[line][index].load() : 0;
}

void SetUnitMaskByte(int line, size_t index, uint8_t value) {
    if (IsLineNumber(line) && index < kUnitMaskBytes) tables().unitMask[line][index].store(value);
}

bool UnitInMask(int line, uint8_t unit) { return (UnitMaskByte(line, unit / 8) >> (unit % 8)) & 1; }

void ClearUnitMask(int line) {
    for (size_t i = 0; i < kUnitMaskBytes; ++i) SetUnitMaskByte(line, i, 0);
}

uint16_t UnitCount(int line) { return read(tables().unitCount, line); }
void SetUnitCount(int line, uint16_t value) { write(tables().unitCount, line, value); }
uint16_t UnitLimit(int line) { return read(tables().unitLimit, line); }
void SetUnitLimit(int line, uint16_t value) { write(tables().unitLimit, line, value); }
uint16_t MsgNumber(int line) { return read(tables().msgNumber, line); }
void SetMsgNumber(int line, uint16_t value) { write(tables().msgNumber, line, value); }
uint16_t StoredSpeedMode(int line) { return read(tables().speedMode, line); }
void SetStoredSpeedMode(int line, uint16_t value) { write(tables().speedMode, line, value); }

}  // namespace LineState

intptr_t ClientWindow() { return tables().clientWindow.load(); }
void SetClientWindow(intptr_t wnd) { tables().clientWindow.store(wnd); }

}  // namespace lintra

#pragma once
// com_unit: the table of the process's 256 lines and the per-line state tables beside it.
// Every accessor checks the line number first: a number outside 0..255 never indexes a table
// (the getters answer nothing or 0, the setters do nothing).
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "lintra/ports/lines/PortControl.h"

namespace lintra {

inline constexpr int kMaxLine = 255;
inline constexpr bool IsLineNumber(int line) { return line >= 0 && line <= kMaxLine; }

// The line objects by number. Entries are held as shared pointers so that an export working
// on a line on one thread keeps the object alive while another thread closes it.
class LineTable {
public:
    // The line's object, or nullptr for an empty entry or a number outside 0..255.
    static std::shared_ptr<TPortControl> Get(int line);
    // The line's object when it is of kind T (TPultControl: a panel line), else nullptr.
    template <typename T>
    static std::shared_ptr<T> GetAs(int line) {
        return std::dynamic_pointer_cast<T>(Get(line));
    }
    // False (and nothing stored) when the number is out of range or the entry is taken.
    static bool Put(int line, std::shared_ptr<TPortControl> object);
    // Empties the entry and hands back what it held.
    static std::shared_ptr<TPortControl> Take(int line);
};

// The per-line tables. Values persist from one opening of a line to the next within the process.
namespace LineState {
inline constexpr size_t kUnitMaskBytes = 32;  // a 256-bit set
inline constexpr uint16_t kDefaultUnitLimit = 250;
inline constexpr uint16_t kDefaultSpeedMode = 1;

// Every table to its default: masks and counts 0, MsgNumber 0, limit 250, speed mode 1.
void Reset();

uint8_t UnitMaskByte(int line, size_t index);  // 0 outside the table
void SetUnitMaskByte(int line, size_t index, uint8_t value);
bool UnitInMask(int line, uint8_t unit);
void ClearUnitMask(int line);

uint16_t UnitCount(int line);
void SetUnitCount(int line, uint16_t value);
uint16_t UnitLimit(int line);
void SetUnitLimit(int line, uint16_t value);
uint16_t MsgNumber(int line);
void SetMsgNumber(int line, uint16_t value);
uint16_t StoredSpeedMode(int line);
void SetStoredSpeedMode(int line, uint16_t value);
}  // namespace LineState

// Library load: host reports into the general log, the shared objects, the events of line 0.
// Library unload: the events and the shared objects go; the library's unload has stopped and
// freed the open lines before (FreeAllLines).
void ComUnitLoad();
void ComUnitUnload();

// The window named in the most recent start call (the application window when none was).
intptr_t ClientWindow();
void SetClientWindow(intptr_t wnd);

}  // namespace lintra

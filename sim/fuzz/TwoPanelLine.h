#pragma once
// The line the fuzz targets drive: panel 5 in answer format 0 and panel 7 in format 1, each
// with a small ring so that inputs reach the ring's wrap and overflow.
#include "sim/panel/PanelLine.h"

namespace sim::fuzz {

inline PanelLine twoPanelLine() {
    const CivilTime start{2026, 3, 5, 9, 4, 0};
    PanelLine line;
    line.add(Panel(5, AnswerFormat::Short, start, 0, 4));
    line.add(Panel(7, AnswerFormat::Long, start, 0, 4));
    return line;
}

}  // namespace sim::fuzz

#pragma once
// The two ways a received or internal frame becomes an EventRecord. Both read only the frame's
// 16-byte buffer (fields a short frame does not fill come from whatever the buffer holds, as on
// the wire) and never put more than 10 data bytes into the record.
#include "lintra/ports/EventRecord.h"
#include "lintra/ports/LocalTime.h"
#include "lintra/ports/PanelFrame.h"

namespace lintra {

// A message the panel or controller reports, or an internal frame: a fresh record with address,
// code, time (the frame's own for time-stamped codes, else now) and the code's data bytes.
// Line number 0; the caller sets it.
EventRecord EventFrameToRecord(const PanelFrame &frame, const LocalTime &now);

// An answer to a command or a poll, decoded into record without clearing it first; the caller
// sets line and address afterwards. Answer codes without a row of their own fall back to
// EventFrameToRecord.
void AnswerFrameToRecord(const PanelFrame &frame, const LocalTime &now, EventRecord &record);

// The record code of a frame's code byte: its low seven bits, or the whole byte from 0xF0 up.
uint16_t RecordCode(uint8_t frameCode);

}  // namespace lintra

#pragma once
// The configuration file: the records of a record buffer as elements of one <Main> element,
// single-byte Windows Cyrillic, no declaration, no line breaks.
#include "zaltor/config/RecordBuffer.h"
#include "zaltor/config/uXML.h"

#include <cstdint>
#include <string>

namespace zaltor {

// Writes every record to a temporary file beside the target and renames it over the target
// only when the whole document is on disk, so a failed save leaves the old file as it was.
bool saveConfigFile(const RecordBuffer &buffer, const std::string &fileName);

// What a load built and, when it stopped early, where and why.
struct ConfigFileLoad {
    // The records in the buffer may be used. False when the file cannot be opened or does not
    // begin as a document, or the buffer filled up.
    bool ok = false;
    // The whole document was read: no syntax error, no tag foreign to the file, no tag left
    // open. A load that is ok but not complete holds only the records before the stop.
    bool complete = false;
    size_t recordsBuilt = 0;
    // Elements that broke a rule of their values and built no record.
    size_t elementsSkipped = 0;
    // Bytes of the file read when loading stopped.
    uint64_t stopOffset = 0;
    // The last tag read, as the reader reduced it (UTF-8).
    std::string lastTag;
    // Why loading stopped early (UTF-8): the reader's error text, or the foreign tag; empty
    // when complete.
    std::string stopReason;
};

// Empties the buffer and fills it with the records of the file.
ConfigFileLoad loadConfigFile(const std::string &fileName, RecordBuffer &buffer);
// The same over a document already opened.
ConfigFileLoad loadConfigDocument(Txml &xml, RecordBuffer &buffer);

}  // namespace zaltor

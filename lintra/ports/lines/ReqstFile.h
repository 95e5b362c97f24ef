#pragma once
// reqst.dat in the current directory: the panel lines' message numbers kept from one run of
// the client to the next. 10240 raw bytes in five blocks; only the MsgNumber block (offset
// 9216, 256 x 16-bit little-endian) is read back, the others hold fixed defaults. A save
// replaces it whole under a lock file (platform/LockedFile.h): a reader in any process sees
// one whole save.
#include <cstddef>

namespace lintra {

inline constexpr const char *kReqstFileName = "reqst.dat";
inline constexpr size_t kReqstFileSize = 10240;
inline constexpr size_t kReqstMsgNumberOffset = 9216;

// Writes the file anew from this process's whole MsgNumber table, the other processes' lines
// included; false, with the old file left, when it could not be written.
bool SaveLineState();
// Loads the MsgNumber table from the file; a missing or short block leaves the table cleared.
void LoadLineState();

}  // namespace lintra

#pragma once
// The command codes of the Driver API: driver commands (DriverDoCmd) and line commands
// (DriverLineDoCmd) share one numbering. Codes not listed answer 0 and change nothing.
#include <cstdint>

namespace lintra::nx {

enum CommCmd : int32_t {
    CD_Stop = 1,             // driver: suspend at the start of the next pass
    CD_Start = 2,            // driver: resume a created or suspended thread
    CD_SendCmd = 3,          // line: queue a TNXMsg
    CD_SendCmdGetReply = 4,  // line: send a TNXMsg and wait for its reply
    CD_StopQuery = 5,
    CD_StartQuery = 6,
    CD_AddUnit = 7,
    CD_Destroy = 9,          // driver or line
    CD_Ping = 10,            // driver or line: answers 1
    CD_SendBuf = 11,         // driver: raw bytes to the transport; line: one queued message
    CD_GetMsg = 14,
    CD_GetLineType = 15,
    CD_Connect = 16,         // driver
    CD_Disconnect = 17,      // driver
    CD_SetQueryList = 18,
    CD_RcvQCount = 19,
    CD_RcvQFree = 20,
    CD_SndQCount = 21,
    CD_SndQFree = 22,
    CD_LineReset = 23,
    CD_GetState = 24,
    CD_SetTag = 25,
    CD_SetUnitValue = 26,
    CD_SetUnitQuery = 27,
    CD_SetMsgNumber = 28,
    CD_GetMsgNumber = 29,
    CD_Shutdown = 30,        // driver or line
    CD_SetPassword = 32,     // driver
    CD_SetQryDelay = 33,     // driver or line
    CD_GetQryDelay = 34,     // line
};

// Results that cross the Driver API besides handles.
inline constexpr int32_t kNoObject = -1;     // no such object, table full, link down, queue full
inline constexpr int32_t kUnsupported = -2;  // unsupported driver or line type
inline constexpr int32_t kRefused = -3;      // Init refused the parameters; line shutting down

// P1 = address of P2 bytes: a negative or oversized length, or bytes without an address, are
// refused before they reach a transport.
inline bool ValidByteArgs(intptr_t p1, intptr_t p2) { return p2 >= 0 && p2 <= INT32_MAX && (p2 == 0 || p1 != 0); }

}  // namespace lintra::nx

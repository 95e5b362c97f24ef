/* liblintra.so: the alarm-panel communication library. A C interface: every export is
 * extern "C", strings are zero-terminated 8-bit strings, and anything that carries an address
 * or a window handle is intptr_t. No export lets a failure out as an exception: it answers its
 * error result (a start export -4) and writes a line to lintra.log. */
#ifndef LINTRA_H
#define LINTRA_H

#include <stdbool.h>
#include <stdint.h>

#define LINTRA_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/* Windows, waits and message boxes of a platform that has none of them.
 *
 * A client window is a procedure registered with LintraRegisterWindow; the handle it answers
 * is what the start exports take as Wnd. Events reach it as message 1124 with lparam pointing
 * to the 22-byte event record, called synchronously on the library's thread: the record is valid
 * only during the call, so copy it and hand it to your own thread. */
typedef intptr_t (*LintraWindowProc)(void *context, uint32_t msg, uintptr_t wparam, intptr_t lparam);

/* A non-zero handle, or 0 when proc is null. */
LINTRA_API intptr_t LintraRegisterWindow(LintraWindowProc proc, void *context);
/* After it returns, proc is no longer called (a call in flight on another thread is waited for). */
LINTRA_API void LintraUnregisterWindow(intptr_t wnd);

/* Waits for an event handle the library answered (GetEvent); timeout_ms 0xFFFFFFFF waits
 * without limit. True when the event came; false on time-out or for a handle that is not a
 * live event of the library. The events reset themselves: one wait consumes one signal. */
LINTRA_API bool LintraWaitEvent(intptr_t event, uint32_t timeout_ms);

/* Messages the library would show in a message box; flags carry the Windows MB_ values (0x10 a
 * stop icon, 0x40 an information icon). Without a handler, or after setting NULL, they go to
 * the library's log and to standard error. */
typedef void (*LintraMessageBoxHandler)(const char *text, const char *caption, uint32_t flags);
LINTRA_API void LintraSetMessageBoxHandler(LintraMessageBoxHandler handler);

/* Commands. Line is 0..255; params points to count bytes (NULL when count is 0).
 * Results: 0 done (SendPultCommand: 0 or minus the free places left in the line's queue),
 * 1 command not in the table (or a line of another kind), 2 too few parameters, 3 too many,
 * 4 line not open or closed, 5 address out of range. */

/* The 22-byte event record of every line, little-endian and packed; the reply area of
 * SendCmdGetReply. */
#pragma pack(push, 1)
typedef struct LintraEventRecord {
    uint16_t line;
    uint16_t address;
    uint16_t code;
    uint8_t month;
    uint8_t day;
    uint8_t hour;
    uint8_t minute;
    uint16_t data_length; /* 0..10 */
    uint8_t data[10];
} LintraEventRecord;
#pragma pack(pop)

/* Queues a panel command; reserved is ignored (the panel address is the line's). */
LINTRA_API int32_t SendPultCommand(uint16_t line, int32_t reserved, uint16_t cmd, uint16_t count,
                                   const uint8_t *params);
/* Exchanges a panel command at once and fills reply with the answer's record (code 0x65 from
 * address 0xFB when the panel did not answer). -4 when the line is not open; a line stopped by
 * ShutdownCom still exchanges. */
LINTRA_API int32_t SendCmdGetReply(uint16_t line, int32_t reserved, uint16_t cmd, uint16_t count,
                                   const uint8_t *params, LintraEventRecord *reply);
/* Queues a command for the unit at addr behind a line-controller line; a command that
 * discmd.ini disables for the line is only logged and still answers 0. */
LINTRA_API int32_t SendContrCommand(uint16_t line, uint16_t addr, uint16_t cmd, uint16_t count,
                                    const uint8_t *params);
/* Line service commands: 1/2 set/clear unit params[0] in the line's unit mask (params[1] = 0:
 * update only), 3 unit count, 4 passes a byte to the line, 5 stop and 6 start message polling,
 * 7 unit limit, 8 sends the whole unit mask. */
LINTRA_API int32_t LCBCommand(uint16_t line, uint16_t cmd, uint16_t count, const uint8_t *params);

/* Event records of lines opened with Wnd = 0, collected from memory shared by every client
 * process. Protocol: GetEvent(L) makes the line's events and answers its data event (line 0:
 * the event of any line); ResumeLine(L) once allows the first record; then wait for the data
 * event (LintraWaitEvent) and take the record with GetLineMessage(L, buffer, true), which frees
 * the slot and allows the next. The line is 1..255; a freshly created shared area reads as
 * occupied in every slot until each has been collected once (that first record is all 0xFF). */

/* The line's data event as a handle for LintraWaitEvent; 0 for a line outside 0..255. */
LINTRA_API intptr_t GetEvent(int32_t line);
/* True when the line's slot holds a record; false when free, busy for 5 ms, or no such line. */
LINTRA_API bool QueryMessage(int32_t line);
/* Copies the record (22 bytes) into buffer and frees the slot; false when the slot is free, the
 * shared mutex stayed busy for 1000 ms, or the line is outside 1..255. With resume true, a
 * record taken is followed by ResumeLine (a free slot resumes nothing: call ResumeLine once
 * yourself to start the line). */
LINTRA_API bool GetLineMessage(int32_t line, void *buffer, bool resume);
/* Allows the library to put the line's next record into its slot; false outside 1..255. */
LINTRA_API bool ResumeLine(int32_t line);

/* The same over a table of message sources (driver 1..255, line 1..255, sub 0..15) that
 * nothing in the library fills yet: every call finds its source missing and answers 0, false
 * or nothing. */
LINTRA_API intptr_t NewGetEvent(int32_t driver, int32_t line, int32_t sub);
LINTRA_API void NewLineConn(int32_t driver, int32_t line, bool connected, int32_t sub);
LINTRA_API bool NewQueryMessageOldFormat(int32_t driver, int32_t line, int32_t sub);
LINTRA_API bool NewGetLineMessageOldFormat(int32_t driver, int32_t line, void *buffer, bool resume, int32_t sub);
LINTRA_API bool NewResumeLine(int32_t driver, int32_t line, int32_t sub);

/* Intelligent line-controller lines: the library polls every unit (0..250) of the line's unit
 * mask itself. StartIntCom opens one on a serial port (port and wnd as for StartPanel);
 * StartNetCom behind a TCP gateway, port = "host:port:greeting". LCBCommand 3 sets the unit
 * count, 1/2 the mask, 6/5 switch polling on and off. Results as StartPanel. */
LINTRA_API int32_t StartIntCom(int32_t line, const char *port, intptr_t wnd);
LINTRA_API int32_t StartIntComNew(int32_t line, const char *port);
LINTRA_API int32_t StartNetCom(int32_t line, const char *port, intptr_t wnd);
LINTRA_API int32_t StartNetComNew(int32_t line, const char *port);

/* A panel line behind a TCP serial gateway: port = "host:port:greeting" (the greeting is not
 * sent), addr the panel address 0..255, wnd as for StartPanel. Frames go to the gateway as they
 * are and every answer is read as 13 bytes. LCBCommand 6/5 switch polling on and off;
 * ResetPultBuffer answers 1. Results as StartPanel; -4 also when the string lacks two colons or
 * the host does not resolve. */
LINTRA_API int32_t StartNetRS(int32_t line, const char *port, intptr_t wnd, uint16_t addr);
/* StartNetRS with wnd = 0. */
LINTRA_API int32_t StartNetRSNew(int32_t line, const char *port, uint16_t addr);

/* Panel lines. Line numbers are 0..255 and panel addresses 0..255; other values are refused.
 *
 * StartPanel opens a panel line on a serial port ("COM" + n, mapped to a device by the machine
 * settings, or a device path). wnd selects where the line's records go: 0 the shared slots
 * (collected with GetEvent / GetLineMessage / ResumeLine), a window from LintraRegisterWindow,
 * or a callback intptr_t (*)(void *record, intptr_t arg), called with (NULL, -1) at once, where
 * it must answer a registered window, and with (record, 0) for every record.
 * Result: the number of lines open in all processes, or -1 (line in use), -2 (wnd is no window
 * and no callback answering one), -4 (port cannot be opened, the same panel address is open on
 * the port already, or the line or address is out of range). */
LINTRA_API int32_t StartPanel(int32_t line, const char *port, intptr_t wnd, uint16_t addr);
/* StartPanel with wnd = 0. */
LINTRA_API int32_t StartPanelNew(int32_t line, const char *port, uint16_t addr);
/* Stops the line: it refuses further commands and ends message polling; its queue drains. */
LINTRA_API void ShutdownCom(int32_t line);
LINTRA_API void ShutdownAll(void);
/* Frees the line: a panel line saves its message number in reqst.dat first, a line-controller
 * line lets its queue drain (at most 20 s). Of several concurrent calls for one line exactly one
 * closes it. It may be called from the line's own window procedure or callback: then it returns
 * at once and the line is freed on another thread of the library once the delivery in progress
 * has returned; a start export for that line number waits for the close to finish (called from
 * such a procedure or callback itself, it answers -1 until then). At unload or exit the library
 * stops and frees the lines still open without closing them (reqst.dat and the open-line count
 * stay as they were). */
LINTRA_API void CloseCom(int32_t line);
/* Frames waiting in the line's queue; -1 when the line is not open. */
LINTRA_API int32_t LengthOfOutQueue(int32_t line);
/* 0: the panel line's next message or status answer resets its message numbering;
 * 1: the line is not open or is no panel line. */
LINTRA_API int32_t ResetPultBuffer(int32_t line);

/* Line-controller lines on a serial port. StartCom opens one (port and wnd as for StartPanel):
 * the controller polls its units itself and forwards their events; the frames of LCBCommand
 * and SendContrCommand go to it under the RTS/DSR handshake. Results as StartPanel. */
LINTRA_API int32_t StartCom(int32_t line, const char *port, intptr_t wnd);
/* StartCom with wnd = 0. */
LINTRA_API int32_t StartComNew(int32_t line, const char *port);
/* Reopens and pulses the port of a line-controller line; nothing on other lines. */
LINTRA_API void SMCReset(int32_t line);

/* Driver API: network controllers (drivers) and their lines, named by handles 1..255.
 * A driver owns one thread, created suspended (CD_Start runs it); its lines do their protocol
 * work there. Driver types: 1 an NCX controller on TCP (Host, Port default 21302), 2 one on a
 * serial port (Port: a device path or COM name, Baud default 19200); both take Password,
 * RplSysTimeout, SilentWarn, FirstLostWait, FirstResetInfoWait, FinalReset and LogLevel.
 * No line type exists yet: DriverLineCreate answers -2 for the NX line types 4 (T2) and
 * 5 (T3) until they come. */

/* The 268-byte NX message record, little-endian and packed, that line commands take and fill
 * (P1 or P2 holds its address). */
#pragma pack(push, 1)
typedef struct LintraNXMsg {
    char code[4];   /* a letter (S command, G question, A answer or event, E error) and three
                     * hexadecimal digits, e.g. "S201" */
    int32_t unit;   /* the controller line the message belongs to; 15: the controller itself */
    int32_t count;  /* data bytes in use, 0..256 */
    uint8_t data[256];
} LintraNXMsg;
#pragma pack(pop)

/* Params: key=value lines separated by CR LF (NULL or "" for none); keys ignore case.
 * Result: the new driver's handle; -1 driver table full, -2 unsupported type, -3 parameters
 * refused. */
LINTRA_API int32_t DriverCreate(int32_t type, const char *params);
/* A driver command (1 CD_Stop, 2 CD_Start, 9 CD_Destroy, 10 CD_Ping, 11 CD_SendBuf,
 * 16 CD_Connect, 17 CD_Disconnect, 30 CD_Shutdown, 32 CD_SetPassword with p1 the address of a
 * zero-terminated text, 33 CD_SetQryDelay with p1 the pace 0..255; other codes answer 0), run
 * on the caller's thread. Result: the command's; 0 when handle names no driver. */
LINTRA_API int32_t DriverDoCmd(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2);
/* A line on the driver at slot line_no 0..32 (-1: the lowest free slot).
 * Result: the new line's handle; -1 no such driver, 0 line table full, -2 unsupported line
 * type, -3 parameters refused. */
LINTRA_API int32_t DriverLineCreate(int32_t driver, int32_t line_no, int32_t line_type, const char *params);
/* A line command, run on the caller's thread. Result: the command's; -1 when handle names no
 * line. A line of a destroyed driver is gone with it: do not use its handle again. */
LINTRA_API int32_t DriverLineDoCmd(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2);
/* Destroys every driver with its lines (the library does so itself at unload). Always 0. */
LINTRA_API int32_t DriversDestroy(void);

#ifdef __cplusplus
}
#endif

#endif /* LINTRA_H */

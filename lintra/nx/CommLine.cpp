#include "lintra/nx/CommLine.h"

#include "lintra/nx/CommCodes.h"
#include "lintra/nx/CommDriver.h"
#include "lintra/nx/DriverTables.h"
#include "lintra/runtime/DumbQueue.h"

namespace lintra::nx {

TCommLine::TCommLine(TCommDriver &driver) : driver_(driver) {}

TCommLine::~TCommLine() {
    driver_.DetachLine(lineNumber_, this);
    TablesGuard guard;
    LineTable().Release(handle_, this);
}

void TCommLine::Destroy(TCommLine *line) {
    if (!line) return;
    RecursiveMutex &passLock = line->Driver().PassLock();
    passLock.lock();
    delete line;
    passLock.unlock();
}

bool TCommLine::Init(const TParamList *params) {
    if (!params) return true;
    params_ = *params;
    driver_.LogText(5, "Init Line\r\n" + params_.LogText());
    return true;
}

int32_t TCommLine::DoCmd(int32_t cmd, intptr_t p1, intptr_t p2) {
    switch (cmd) {
    case CD_Destroy:
        Destroy(this);
        return 1;
    case CD_Ping:
        return 1;
    case CD_SendBuf:
        if (!ValidByteArgs(p1, p2)) return kNoObject;
        return SendBuf(reinterpret_cast<const uint8_t *>(p1), static_cast<int32_t>(p2));
    case CD_GetLineType:
        return lineType_;
    case CD_RcvQCount:
        return rcvQueue_ ? rcvQueue_->Count() : 0;
    case CD_RcvQFree:
        return rcvQueue_ ? rcvQueue_->Free() : 0;
    case CD_SndQCount:
        return sendQueue_ ? sendQueue_->Count() : 0;
    case CD_SndQFree:
        return sendQueue_ ? sendQueue_->Free() : 0;
    case CD_SetTag:
        tag_.store(static_cast<int32_t>(p1));
        return 0;
    default:
        return 0;
    }
}

int32_t TCommLine::Notify(int32_t event, TCommBuff *buffer) {
    if (!enabled_) return 0;
    switch (event) {
    case evNone:
        return 0;
    case evConnect:
        Ev_Connect();
        return 0;
    case evDisconnect:
        Ev_Disconnect();
        return 0;
    case evReadPkt:
        return buffer ? Ev_ReadPkt(*buffer) : -1;
    case evServe:
    case evServeAgain:
        return Serve();
    case evShutdown:
        Shutdown();
        return 0;
    default:
        return -1;
    }
}

}  // namespace lintra::nx

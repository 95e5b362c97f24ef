#include "lintra/ports/netrs/NetRSControl.h"

#include <netdb.h>

#include <exception>

#include "lintra/ports/lines/PanelPort.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {

namespace {

constexpr uint8_t kWholeFrameMode = 1;  // the gateway gets each frame in one piece
// Keeps a serial panel line from ever taking the gateway's port for its own device.
constexpr const char *kPortPrefix = "tcp:";

bool resolves(const std::string &host) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) return false;
    freeaddrinfo(found);
    return true;
}

}  // namespace

bool TNetRSLCBMaster::JoinGateway(std::unique_ptr<GatewayStream> stream) {
    auto port = std::make_unique<GatewayPort>(std::move(stream), line(), clock());
    auto panelPort = std::make_shared<TPanelPort>(std::move(port), kPortPrefix + portName());
    if (!JoinPort(panelPort, true)) return false;
    panelPort->setMode(kWholeFrameMode);
    SetConnParam();
    setCurrentMsgNumber(0);  // a gateway line keeps no message number between starts
    return true;
}

void TNetRSLCBMaster::ServeContr() {
    // The port lock keeps a direct exchange out of the step; the serving mutex keeps the line
    // alive until its last delivery.
    std::lock_guard serving(servingMutex());
    TPortLock &lock = panelPort()->lock();
    if (!lock.lock(TPortLock::Who::Polling, TPanelPort::kLockWaitMs)) return;
    StepRecords step;
    try {
        step = ServePult();
    } catch (const std::exception &e) {
        LogLine(line(), std::string("TNetRSLCBMaster.ServeContr::") + e.what(), 2);
    }
    lock.unlock();
    for (size_t i = 0; i < step.count; ++i) SendEvInfo(step.records[i]);
}

TNetRSLCBControl::~TNetRSLCBControl() {
    if (thread_) thread_->StopPolling();
}

bool TNetRSLCBControl::InitCom(const std::string &port, int line) {
    LogMain("TNetRSLCBControl.InitCom( " + port + ", " + std::to_string(line) + " )", 6);
    setPortName(port);
    const std::optional<NetPortString> parsed = ParseNetPortString(port);
    if (!parsed || !resolves(parsed->host)) return false;
    gateway_ = *parsed;
    if (!JoinGateway(std::make_unique<TcpGatewayStream>(gateway_.host, gateway_.service))) return false;
    thread_ = std::make_unique<TNetRSComThread>(kNetRSPacing, [this] { ServeContr(); });
    thread_->Start();
    LogLine(this->line(), "Линия инициализирована, порт " + port, 5);
    return true;
}

}  // namespace lintra

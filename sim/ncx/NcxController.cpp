#include "sim/ncx/NcxController.h"

#include <map>

#include "sim/panel/TextFields.h"

namespace sim {

namespace {

// A packet of the controller itself: kind 1, line F, ended by CR.
std::string answer(const std::string &code, const std::string &data = {}) {
    return formatPacket({1, NcxPacket::kControllerLine, code, data}) + "\r";
}

std::string refusal(const std::string &code) { return answer("E" + code.substr(1)); }

const std::string kStartNotice = "E102";
const std::string kPasswordRequired = "E107";

}  // namespace

std::string NcxController::connect() {
    ++counters.connections;
    return restart();
}

std::string NcxController::restart() {
    session_ = Session{};
    return faults.silent ? std::string() : answer(kStartNotice);
}

NcxController::Outcome NcxController::receive(std::string_view line) {
    std::optional<NcxPacket> packet = parsePacket(line);
    if (!packet) {
        ++counters.malformed;
        return {{}, "not a packet"};
    }
    ++counters.packets;
    if (faults.silent) return {{}, "silent"};
    if (packet->line == NcxPacket::kControllerLine) return {system(*packet), {}};
    return toLine(*packet);
}

std::string NcxController::system(const NcxPacket &packet) {
    // The data characters each code takes; any other count is refused like an unknown code.
    static const std::map<std::string, size_t> kDataChars = {{"G101", 0}, {"G108", 0},          {"G109", 0},
                                                             {"S101", kConfigChars}, {"S109", 0}, {"S10A", 2},
                                                             {"S10C", 16}};
    const std::string &code = packet.code;
    auto known = kDataChars.find(code);
    if (known == kDataChars.end() || packet.data.size() != known->second) return refusal(code);
    if (code == "G109") return answer("A109", settings_.versionText);
    if (code == "G108") return answer("A108");
    if (code == "S10A") return setPace(packet.data);
    if (code == "S10C") return takePassword(packet.data);
    // Reset and the configuration wait for the password.
    if (locked()) return answer(kPasswordRequired);
    if (code == "S109") return restart();
    if (code == "G101") return answer("A101", session_.configuration);
    return configure(packet.data);
}

NcxController::Outcome NcxController::toLine(const NcxPacket &packet) {
    NcxLineModel *model = session_.lines[packet.line].get();
    if (!model) {
        ++counters.unrouted;
        return {{}, "no line at slot " + hex(packet.line, 1)};
    }
    std::string reply;
    for (const NcxPacket &p : model->receive(packet)) reply += formatPacket(p) + "\r";
    return {reply, {}};
}

std::string NcxController::takePassword(const std::string &data) {
    std::string expected = settings_.password;
    expected.resize(16, '\0');
    if (faults.refusePassword || data != expected) return answer("E10C");
    session_.authorised = true;
    return answer("A10C");
}

std::string NcxController::setPace(const std::string &data) {
    int high = hexDigit(data[0]);
    int low = hexDigit(data[1]);
    if (high < 0 || low < 0) return refusal("S10A");
    session_.pace = static_cast<unsigned>(high * 16 + low);
    return answer("A10A");
}

std::string NcxController::configure(const std::string &data) {
    for (char c : data)
        if (hexDigit(c) < 0) return refusal("S101");
    session_.configuration = data;
    for (size_t slot = 0; slot < kSlots; ++slot) session_.lines[slot] = factory_(data[slot]);
    return answer("A101");
}

}  // namespace sim

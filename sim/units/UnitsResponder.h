#pragma once
// The units of units-sim behind the serving loop: bare frames on a serial line, or messages
// with the type/length header on each TCP client, answered by the unit line.
#include "sim/serve/LineResponder.h"
#include "sim/units/UnitControl.h"

namespace sim {

class UnitsResponder : public LineResponder {
public:
    UnitsResponder(UnitLine &line, NetState &net, bool tcp, ControlHooks hooks)
        : line_(line), net_(net), tcp_(tcp), control_(line, net, std::move(hooks)) {}

    std::unique_ptr<StreamReader> openStream(WireLog &log) override;
    std::string control(const std::string &command, uint64_t) override { return control_.execute(command); }

private:
    UnitLine &line_;
    NetState &net_;
    bool tcp_;
    UnitControl control_;
};

}  // namespace sim

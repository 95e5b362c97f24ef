#pragma once
// A line of the controller at one of the slots 0 to E: it takes the packets addressed to its
// slot and answers with packets of its own. A configuration gives each slot a type digit, and
// the factory makes the slot's model from it.
#include <functional>
#include <memory>
#include <vector>

#include "sim/ncx/NcxPacket.h"

namespace sim {

class NcxLineModel {
public:
    virtual ~NcxLineModel() = default;
    virtual std::vector<NcxPacket> receive(const NcxPacket &packet) = 0;
};

// The model for a type digit of the line configuration; nullptr leaves the slot empty.
using NcxLineFactory = std::function<std::unique_ptr<NcxLineModel>(char typeDigit)>;

// The simulator knows no line type yet, so every slot stays empty.
inline std::unique_ptr<NcxLineModel> makeLineModel(char) { return nullptr; }

}  // namespace sim

#pragma once
// The controller of ncx-sim behind the serving loop: a packet stream per connection, the
// control language, and what its commands send of their own accord on every stream.
#include "sim/ncx/NcxControl.h"
#include "sim/ncx/NcxStream.h"
#include "sim/serve/LineResponder.h"
#include "sim/serve/SimMain.h"

namespace sim {

class NcxResponder : public LineResponder {
public:
    NcxResponder(NcxController &controller, SimServer &server)
        : controller_(controller), control_(controller, hooksOf(server), [this, &server] { server.drop(*this); }) {}

    std::unique_ptr<StreamReader> openStream(WireLog &log) override {
        return std::make_unique<NcxStream>(controller_, log);
    }
    std::vector<Transmission> unasked(uint64_t) override {
        std::vector<Transmission> out;
        if (auto tx = transmissionOf(control_.takeOutput())) out.push_back(std::move(*tx));
        return out;
    }
    std::optional<uint64_t> nextUnaskedMs() const override {
        return control_.hasOutput() ? std::optional<uint64_t>(0) : std::nullopt;
    }
    std::string control(const std::string &command, uint64_t) override { return control_.execute(command); }

private:
    NcxController &controller_;
    NcxControl control_;
};

}  // namespace sim

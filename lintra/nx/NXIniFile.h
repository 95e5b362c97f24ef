#pragma once
// TNXIniFile: the network-controller configuration file "lintra.ini" in the current directory.
// "Device <name>" sections describe drivers, "Line <name>" sections lines that belong to the
// device their Device value names, and "Common" holds library-wide settings. Names are the rest
// of the section name with blanks trimmed; sections with an empty name are ignored.
#include <string>
#include <string_view>
#include <vector>

#include "lintra/nx/ParamList.h"
#include "platform/Profile.h"

namespace lintra::nx {

class TNXIniFile {
public:
    static constexpr const char *kFileName = "lintra.ini";
    // Longer section names are ignored, and at most this many device and line sections are
    // taken: bounds on what a file can make the start-up do.
    static constexpr size_t kMaxNameLength = 255;
    static constexpr size_t kMaxSections = 1024;

    // Reads lintra.ini from the current directory; true when it has at least one section.
    bool Load();
    // Takes the sections of an already read file; true when it has at least one section.
    bool Read(const tessel::Profile &profile);

    // In file order.
    std::vector<std::string> GetDeviceNames() const;
    bool GetDeviceParams(std::string_view name, TParamList &params) const;
    // The lines whose Device value equals deviceName (with regard to case), or every line for
    // an empty deviceName; in reverse file order, the order the start-up creates them in.
    std::vector<std::string> GetLinesOfDevice(std::string_view deviceName) const;
    bool GetLineParams(std::string_view name, TParamList &params) const;
    const TParamList &Common() const { return common_; }

private:
    struct Section {
        std::string name;
        TParamList params;
    };
    static bool Find(const std::vector<Section> &sections, std::string_view name, TParamList &params);

    std::vector<Section> devices_;  // file order
    std::vector<Section> lines_;    // file order
    TParamList common_;
};

}  // namespace lintra::nx

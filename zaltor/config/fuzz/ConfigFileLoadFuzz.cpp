// Any byte string as a configuration file: loaded into records, the records into an image,
// and the records saved back must load again in full.
#include "zaltor/config/ConfigFile.h"
#include "zaltor/config/ConfigImage.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

// A file of its own for the run, removed when the run ends.
struct ScratchFile {
    std::string path;
    ScratchFile() {
        char name[] = "/tmp/zaltor-config-fuzz-XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) std::abort();
        close(fd);
        path = name;
    }
    ~ScratchFile() { unlink(path.c_str()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static zaltor::RecordBuffer buffer;
    static zaltor::RecordBuffer again;
    static zaltor::ConfigImage image;
    static const ScratchFile scratch;
    const std::string &file = scratch.path;
    zaltor::Txml xml;
    if (!xml.openBytes(std::string(reinterpret_cast<const char *>(data), size))) return 0;
    const zaltor::ConfigFileLoad load = zaltor::loadConfigDocument(xml, buffer);
    if (load.ok && load.recordsBuilt != buffer.records().size()) std::abort();
    image.loadRecords(buffer);
    if (!zaltor::saveConfigFile(buffer, file)) std::abort();
    const zaltor::ConfigFileLoad back = zaltor::loadConfigFile(file, again);
    if (!back.complete || back.elementsSkipped != 0) std::abort();
    return 0;
}

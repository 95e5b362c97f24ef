#include "zaltor/config/BlockTypes.h"
#include "zaltor/config/ConfigFile.h"
#include "zaltor/config/ConfigFileSchema.h"
#include "zaltor/config/ConfigValueForms.h"
#include "zaltor/config/uWriteXML.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <utility>
#include <vector>

namespace zaltor {
namespace {

using Attributes = std::vector<std::pair<FileAttr, std::string>>;

std::string number(int value) { return std::to_string(value); }
std::string bit(uint8_t flags, int position) { return number((flags >> position) & 1); }

// A start tag with its attributes, immediately closed by its end tag.
void writeElement(TWriteXML &xml, FileTag start, const Attributes &attributes) {
    xml.beginTag(fileTagText(start));
    for (const auto &[attr, value] : attributes) xml.writeAttribute(fileAttrName(attr), value);
    xml.endTagStart();
    xml.beginTag(fileTagText(static_cast<FileTag>(start + 1)));
    xml.endTagStart();
}

void writeRecord(TWriteXML &xml, const ConfigRecord &record) {
    const uint8_t *d = record.data;
    switch (record.code) {
    case kBlockRecord:
        if (d[1] == 0xFF && d[2] == 0xFF) return;  // an empty poll-order slot
        writeElement(xml, kBlockReqTag,
                     {{kNum, number(d[0])},
                      {kAddr, number(d[1] * 256 + d[2])},
                      {kCType, blockTypeFileName(blockTypeByCode(d[3]))}});
        return;
    case kZoneCountRecord:
        writeElement(xml, kLastZoneTag, {{kLastZoneNum, number(d[0])}});
        return;
    case kZoneDelayRecord: {
        Attributes attributes{{kZoneNumber, number(d[1])}};
        if (d[0] == 0) attributes.emplace_back(kDelaySet, number(d[2]));
        if (d[0] == 1) attributes.emplace_back(kDelaySns, number(d[2]));
        writeElement(xml, kZoneDelaysTag, attributes);
        return;
    }
    case kZoneRecord:
        writeElement(xml, kZoneInfoTag,
                     {{kZoneNumber, number(d[0])}, {kGrd, bit(d[1], 0)}, {kInv, bit(d[1], 1)},
                      {kShContr, bit(d[1], 2)}, {kAutoSet, bit(d[1], 5)}});
        return;
    case kSectionRecord:
        if (const std::string members = formatCont(d[1], d + 2); !members.empty())
            writeElement(xml, kPartConsistTag, {{kPart, number(d[0])}, {kCont, members}});
        return;
    case kKeyRecord: {
        Attributes attributes{{kCardNum, number(d[5])}};
        if (d[0] == 0) attributes.emplace_back(kPass, formatPass(d[1], d[2]));
        if (d[0] == 1) attributes.emplace_back(kCode, formatCode(d + 1));
        writeElement(xml, kCardInfoTag, attributes);
        return;
    }
    default:
        return;
    }
}

bool writeDocument(const RecordBuffer &buffer, const std::string &fileName) {
    TWriteXML xml;
    if (!xml.open(fileName)) return false;
    bool handled = true;
    xml.beginTag(fileTagText(kMainTag));
    xml.endTagStart();
    try {
        for (const ConfigRecord &record : buffer.records()) writeRecord(xml, record);
    } catch (const std::exception &) {
        handled = false;
    }
    xml.beginTag(fileTagText(kMainEnd));
    xml.endTagStart();
    xml.close();
    return handled && !xml.failed();
}

// The mode a new file gets from the process (0666 less the umask), or the old file's mode.
mode_t modeFor(const std::string &fileName) {
    struct stat old {};
    if (stat(fileName.c_str(), &old) == 0) return old.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool saveConfigFile(const RecordBuffer &buffer, const std::string &fileName) {
    std::string temp = fileName + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    const bool prepared = fchmod(fd, modeFor(fileName)) == 0;
    ::close(fd);
    if (prepared && writeDocument(buffer, temp) && std::rename(temp.c_str(), fileName.c_str()) == 0)
        return true;
    ::unlink(temp.c_str());
    return false;
}

}  // namespace zaltor

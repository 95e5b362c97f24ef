#include "platform/Cp1251.h"
#include "zaltor/config/BlockTypes.h"
#include "zaltor/config/ConfigFile.h"
#include "zaltor/config/ConfigFileSchema.h"
#include "zaltor/config/ConfigValueForms.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace zaltor {
namespace {

struct AttrRec {
    FileAttr attr;
    std::string value;
};

// The accepted attributes of one element in document order; a name given twice counts with
// its last value.
class AttrList {
public:
    void add(FileAttr attr, std::string value) { list_.push_back({attr, std::move(value)}); }
    const std::string *find(FileAttr attr) const {
        const auto it = std::find_if(list_.rbegin(), list_.rend(), [&](const AttrRec &a) { return a.attr == attr; });
        return it == list_.rend() ? nullptr : &it->value;
    }
    std::optional<int> integer(FileAttr attr, int min, int max) const {
        const std::string *value = find(attr);
        return value ? parseFileInteger(*value, min, max) : std::nullopt;
    }

private:
    std::vector<AttrRec> list_;
};

// Every value must fit the record byte it goes to: a number that does not is refused rather
// than cut to its low byte.
constexpr int kByte = 255;

CommandRecord commandRecord(uint16_t code, uint16_t count) {
    CommandRecord record;
    record.code = code;
    record.dataCount = count;
    return record;
}

std::optional<CommandRecord> blockRecord(const AttrList &a) {
    const auto num = a.integer(kNum, 0, kByte);
    const auto addr = a.integer(kAddr, 1, 0xFFFF);
    const std::string *type = a.find(kCType);
    const int index = type ? blockTypeByFileName(*type) : 0;
    if (!num || !addr || index == 0) return std::nullopt;
    CommandRecord r = commandRecord(kBlockRecord, 4);
    r.data[0] = static_cast<uint8_t>(*num);
    r.data[1] = static_cast<uint8_t>(*addr >> 8);
    r.data[2] = static_cast<uint8_t>(*addr);
    r.data[3] = *blockTypeCode(index);
    return r;
}

std::optional<CommandRecord> zoneCountRecord(const AttrList &a) {
    const auto last = a.integer(kLastZoneNum, 0, kByte);
    if (!last) return std::nullopt;
    CommandRecord r = commandRecord(kZoneCountRecord, 1);
    r.data[0] = static_cast<uint8_t>(*last);
    return r;
}

std::optional<CommandRecord> zoneRecord(const AttrList &a) {
    const auto zone = a.integer(kZoneNumber, 0, kByte);
    const auto grd = a.integer(kGrd, 0, 1);
    const auto inv = a.integer(kInv, 0, 1);
    const auto shContr = a.integer(kShContr, 0, 1);
    const auto autoSet = a.integer(kAutoSet, 0, 1);
    if (!zone || !grd || !inv || !shContr || !autoSet) return std::nullopt;
    CommandRecord r = commandRecord(kZoneRecord, 2);
    r.data[0] = static_cast<uint8_t>(*zone);
    r.data[1] = static_cast<uint8_t>(*grd | *inv << 1 | *shContr << 2 | *autoSet << 5);
    return r;
}

// A password wins over a card code when the element carries both.
std::optional<CommandRecord> keyRecord(const AttrList &a) {
    const auto user = a.integer(kCardNum, 0, kByte);
    if (!user) return std::nullopt;
    CommandRecord r = commandRecord(kKeyRecord, 6);
    r.data[5] = static_cast<uint8_t>(*user);
    if (const std::string *pass = a.find(kPass)) {
        const auto pairs = parsePass(*pass);
        if (!pairs) return std::nullopt;
        r.data[0] = 0;
        std::copy(pairs->begin(), pairs->end(), r.data + 1);
        return r;
    }
    const std::string *code = a.find(kCode);
    const auto bytes = code ? parseCode(*code) : std::nullopt;
    if (!bytes) return std::nullopt;
    r.data[0] = 1;
    std::copy(bytes->begin(), bytes->end(), r.data + 1);
    return r;
}

std::optional<CommandRecord> sectionRecord(const AttrList &a) {
    const auto part = a.integer(kPart, 0, kByte);
    const std::string *cont = a.find(kCont);
    const auto quarter = cont ? parseCont(*cont) : std::nullopt;
    if (!part || !quarter) return std::nullopt;
    CommandRecord r = commandRecord(kSectionRecord, 10);
    r.data[0] = static_cast<uint8_t>(*part);
    r.data[1] = quarter->quarter;
    std::copy(quarter->mask.begin(), quarter->mask.end(), r.data + 2);
    return r;
}

// Delayed triggering wins over delayed arming; a value that does not parse is 0 seconds.
std::optional<CommandRecord> zoneDelayRecord(const AttrList &a) {
    const auto zone = a.integer(kZoneNumber, 0, kByte);
    const FileAttr kind = a.find(kDelaySns) ? kDelaySns : a.find(kDelaySet) ? kDelaySet : kNoAttr;
    if (!zone || kind == kNoAttr) return std::nullopt;
    CommandRecord r = commandRecord(kZoneDelayRecord, 3);
    r.data[0] = kind == kDelaySns ? 1 : 0;
    r.data[1] = static_cast<uint8_t>(*zone);
    r.data[2] = static_cast<uint8_t>(a.integer(kind, 0, kByte).value_or(0));
    return r;
}

// The record of a start element; nothing for <Main> and the end tags.
bool isRecordElement(FileTag tag) {
    return tag == kBlockReqTag || tag == kLastZoneTag || tag == kZoneInfoTag || tag == kCardInfoTag ||
           tag == kPartConsistTag || tag == kZoneDelaysTag;
}

std::optional<CommandRecord> recordOf(FileTag tag, const AttrList &a) {
    switch (tag) {
    case kBlockReqTag: return blockRecord(a);
    case kLastZoneTag: return zoneCountRecord(a);
    case kZoneInfoTag: return zoneRecord(a);
    case kCardInfoTag: return keyRecord(a);
    case kPartConsistTag: return sectionRecord(a);
    case kZoneDelaysTag: return zoneDelayRecord(a);
    default: return std::nullopt;
    }
}

AttrList acceptedAttributes(Txml &xml, FileTag tag) {
    AttrList list;
    while (xml.readAttribute()) {
        const FileAttr attr = fileAttrOf(xml.attrName());
        if (acceptsAttribute(tag, attr)) list.add(attr, xml.attrValue());
    }
    return list;
}

}  // namespace

ConfigFileLoad loadConfigFile(const std::string &fileName, RecordBuffer &buffer) {
    buffer.clear();
    Txml xml;
    if (!xml.open(fileName)) {
        ConfigFileLoad result;
        result.stopReason = xml.errorText();
        return result;
    }
    return loadConfigDocument(xml, buffer);
}

ConfigFileLoad loadConfigDocument(Txml &xml, RecordBuffer &buffer) {
    buffer.clear();
    ConfigFileLoad result;
    result.ok = true;
    while (xml.readTag()) {
        result.lastTag = tessel::cp1251ToUtf8(xml.tagText());
        const FileTag tag = fileTagOf(xml.tagText());
        // A foreign tag ends the load: nothing after it is read.
        if (tag == kNoTag) {
            result.stopReason = "Неизвестный тег " + result.lastTag;
            break;
        }
        const AttrList attributes = acceptedAttributes(xml, tag);
        if (!isRecordElement(tag)) continue;
        const std::optional<CommandRecord> record = recordOf(tag, attributes);
        if (!record) {
            ++result.elementsSkipped;
        } else if (!buffer.append(*record)) {
            result.ok = false;
            result.stopReason = "Переполнен буфер конфигурации";
            break;
        } else {
            ++result.recordsBuilt;
        }
    }
    if (result.stopReason.empty() && xml.failed()) result.stopReason = xml.errorText();
    result.stopOffset = xml.position();
    xml.close();
    if (result.stopReason.empty() && xml.failed()) result.stopReason = xml.errorText();
    result.complete = result.stopReason.empty();
    return result;
}

}  // namespace zaltor

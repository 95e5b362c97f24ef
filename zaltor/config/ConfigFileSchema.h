#pragma once
// Elements and attributes of the configuration file. A tag is known only in exactly the
// reduced form the reader answers ("<Block_Req>", "</Main>").
#include <string_view>

namespace zaltor {

// Numbers as positions in the file's tag table; 0 = not a tag of the file.
enum FileTag : int {
    kNoTag = 0,
    kBlockReqTag, kBlockReqEnd,
    kLastZoneTag, kLastZoneEnd,
    kZoneInfoTag, kZoneInfoEnd,
    kCardInfoTag, kCardInfoEnd,
    kPartConsistTag, kPartConsistEnd,
    kMainTag, kMainEnd,
    kZoneDelaysTag, kZoneDelaysEnd,
};

// Numbers as positions in the file's attribute table; 0 = not an attribute of the file.
enum FileAttr : int {
    kNoAttr = 0,
    kNum, kAddr, kCType, kLastZoneNum, kZoneNumber, kGrd, kInv, kShContr, kDelaySns, kDelaySet,
    kAutoSet, kPass, kCardNum, kCode, kPart, kCont,
};

FileTag fileTagOf(std::string_view tagText);
std::string_view fileTagText(FileTag tag);

FileAttr fileAttrOf(std::string_view name);
std::string_view fileAttrName(FileAttr attr);

// Whether loading keeps the attribute for the tag; closing tags and <Main> keep none.
bool acceptsAttribute(FileTag tag, FileAttr attr);

}  // namespace zaltor

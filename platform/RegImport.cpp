#include "platform/RegImport.h"

#include "platform/Cp1251.h"
#include "platform/HiveFile.h"
#include "platform/KeyName.h"
#include "platform/RegText.h"

namespace tessel {
namespace {

using Kind = RegStatement::Kind;

// Statements resolved to one hive: every value carries the path of its key.
void applyTo(RegDocument &doc, const std::vector<RegStatement> &statements) {
    for (const auto &st : statements) {
        switch (st.kind) {
            case Kind::Key:
                doc.ensureKey(st.path);
                break;
            case Kind::DeleteKey:
                doc.deleteKey(st.path);
                break;
            case Kind::SetValue:
                doc.setValue(st.path, st.name, st.value);
                break;
            case Kind::DeleteValue:
                doc.deleteValue(st.path, st.name);
                break;
            default:
                break;
        }
    }
}

// The database credentials are bit-inverted bytes of 8-bit text. Windows kept them as wide text
// made from those bytes through the Windows Cyrillic code page, so a UTF-16 export holds that
// text; its code-page bytes are the stored form again.
void restoreInvertedCredential(RegStatement &st) {
    constexpr std::string_view kConfig = "SOFTWARE\\Tessel\\CONFIG";
    const bool credential = (sameName(st.name, "UserName") || sameName(st.name, "Password")) &&
                            isBelow(st.path, kConfig) &&
                            st.path.find('\\', kConfig.size() + 1) == std::string::npos;
    if (st.wide && credential) st.value.bytes = utf8ToCp1251(st.value.bytes);
}

}  // namespace

ImportResult importRegText(std::string_view text, Hive defaultHive) {
    ImportResult result;
    std::vector<RegStatement> perHive[2];
    bool inKey = false;  // none after a skipped key or a deletion
    Hive hive = defaultHive;
    std::string path;
    for (auto st : parseRegText(text)) {
        if (st.kind == Kind::Signature || st.kind == Kind::Blank) continue;
        const bool addressable = st.root != RegRoot::Other && !st.path.empty();
        if (st.kind == Kind::Key || st.kind == Kind::DeleteKey) {
            inKey = false;
            if (!addressable) {
                result.skipped.push_back(st.text);
                continue;
            }
            Hive target = st.root == RegRoot::CurrentUser    ? Hive::CurrentUser
                          : st.root == RegRoot::LocalMachine ? Hive::LocalMachine
                                                             : defaultHive;
            if (st.kind == Kind::Key) {
                inKey = true;
                hive = target;
                path = st.path;
            }
            perHive[static_cast<int>(target)].push_back(std::move(st));
            continue;
        }
        if (st.kind == Kind::Raw || !inKey) {
            result.skipped.push_back(st.text);
            continue;
        }
        st.path = path;
        if (st.kind == Kind::SetValue) {
            restoreInvertedCredential(st);
            ++result.values;
        }
        perHive[static_cast<int>(hive)].push_back(std::move(st));
    }
    for (Hive h : {Hive::CurrentUser, Hive::LocalMachine}) {
        const auto &statements = perHive[static_cast<int>(h)];
        if (!statements.empty() &&
            !updateHive(h, [&](RegDocument &doc) { applyTo(doc, statements); }))
            result.written = false;
    }
    return result;
}

}  // namespace tessel

#include "platform/RegDocument.h"

#include <algorithm>

#include "platform/KeyName.h"

namespace tessel {

RegDocument::RegDocument() {
    sections_.push_back({true, {}, {}});
}

RegDocument RegDocument::parse(std::string_view text) {
    RegDocument doc;
    doc.apply(parseRegText(text));
    return doc;
}

void RegDocument::apply(const std::vector<RegStatement> &statements) {
    using Kind = RegStatement::Kind;
    size_t current = 0;
    auto keepRaw = [&](const RegStatement &st) {
        sections_[current].entries.push_back({true, {}, {}, st.text});
    };
    for (const auto &st : statements) {
        switch (st.kind) {
            case Kind::Signature:
            case Kind::Blank:
                break;
            case Kind::Key:
                if (st.root == RegRoot::Other || st.path.empty()) {
                    newOpaque();
                    current = sections_.size() - 1;
                    keepRaw(st);
                } else {
                    Section &s = sectionFor(st.path);
                    current = static_cast<size_t>(&s - sections_.data());
                }
                break;
            case Kind::DeleteKey:
                if (st.root != RegRoot::Other) deleteKey(st.path);
                // Lines after a key deletion belong to no key. The deletion line stays with them
                // so that they still belong to no key when the file is read again.
                newOpaque();
                current = sections_.size() - 1;
                keepRaw(st);
                break;
            case Kind::SetValue:
                if (sections_[current].opaque)
                    keepRaw(st);
                else
                    setValue(std::string(sections_[current].path), st.name, st.value);
                break;
            case Kind::DeleteValue:
                if (sections_[current].opaque)
                    keepRaw(st);
                else
                    deleteValue(sections_[current].path, st.name);
                break;
            case Kind::Raw:
                keepRaw(st);
                break;
        }
    }
}

std::string RegDocument::serialize() const {
    std::string out = "REGEDIT4\n\n";
    for (const auto &s : sections_) {
        if (s.opaque && s.entries.empty()) continue;
        if (!s.opaque) out += formatKeyLine(s.path) + "\n";
        for (const auto &e : s.entries) {
            out += (e.raw ? e.text : formatValueLine(e.name, e.value)) + "\n";
            if (e.raw && wantsContinuation(e.text)) out += "\n";
        }
        out += "\n";
    }
    return out;
}

RegDocument::Section *RegDocument::find(std::string_view path) {
    for (auto &s : sections_)
        if (!s.opaque && sameName(s.path, path)) return &s;
    return nullptr;
}

const RegDocument::Section *RegDocument::find(std::string_view path) const {
    return const_cast<RegDocument *>(this)->find(path);
}

RegDocument::Section &RegDocument::sectionFor(std::string_view path) {
    if (Section *s = find(path)) return *s;
    sections_.push_back({false, std::string(path), {}});
    return sections_.back();
}

RegDocument::Section &RegDocument::newOpaque() {
    sections_.push_back({true, {}, {}});
    return sections_.back();
}

bool RegDocument::keyExists(std::string_view path) const {
    if (path.empty()) return true;
    return std::any_of(sections_.begin(), sections_.end(), [&](const Section &s) {
        return !s.opaque && (sameName(s.path, path) || isBelow(s.path, path));
    });
}

std::vector<std::pair<std::string, RegValue>> RegDocument::values(std::string_view path) const {
    std::vector<std::pair<std::string, RegValue>> out;
    if (const Section *s = find(path))
        for (const auto &e : s->entries)
            if (!e.raw) out.emplace_back(e.name, e.value);
    return out;
}

std::vector<std::string> RegDocument::subKeyNames(std::string_view path) const {
    std::vector<std::string> out;
    for (const auto &s : sections_) {
        if (s.opaque || !isBelow(s.path, path)) continue;
        std::string_view rest = std::string_view(s.path).substr(path.empty() ? 0 : path.size() + 1);
        std::string child(rest.substr(0, rest.find('\\')));
        if (std::none_of(out.begin(), out.end(),
                         [&](const std::string &n) { return sameName(n, child); }))
            out.push_back(std::move(child));
    }
    return out;
}

std::vector<std::string> RegDocument::keyPaths() const {
    std::vector<std::string> out;
    for (const auto &s : sections_)
        if (!s.opaque) out.push_back(s.path);
    return out;
}

void RegDocument::ensureKey(std::string_view path) {
    for (size_t sep = path.find('\\'); sep != std::string_view::npos;
         sep = path.find('\\', sep + 1))
        if (!keyExists(path.substr(0, sep))) sectionFor(path.substr(0, sep));
    if (!path.empty()) sectionFor(path);
}

bool RegDocument::setValue(std::string_view path, std::string_view name, const RegValue &value) {
    if (path.empty()) return false;
    ensureKey(path);
    Section &s = *find(path);
    for (auto &e : s.entries) {
        if (!e.raw && sameName(e.name, name)) {
            e.value = value;
            return true;
        }
    }
    s.entries.push_back({false, std::string(name), value, {}});
    return true;
}

bool RegDocument::deleteValue(std::string_view path, std::string_view name) {
    Section *s = find(path);
    if (!s) return false;
    auto it = std::find_if(s->entries.begin(), s->entries.end(),
                           [&](const Entry &e) { return !e.raw && sameName(e.name, name); });
    if (it == s->entries.end()) return false;
    s->entries.erase(it);
    return true;
}

bool RegDocument::deleteKey(std::string_view path) {
    if (path.empty()) return false;
    auto gone = [&](const Section &s) {
        return !s.opaque && (sameName(s.path, path) || isBelow(s.path, path));
    };
    auto first = std::remove_if(sections_.begin() + 1, sections_.end(), gone);
    bool any = first != sections_.end();
    sections_.erase(first, sections_.end());
    return any;
}

}  // namespace tessel

#include "platform/ini_profile.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/files.h"
#include "text/gbk.h"

// The rules follow the private-profile functions as they are implemented on the
// systems the program runs on: the file is parsed into sections and keys, a write that
// changes something saves the whole tree again, and values pass through a buffer of
// 255 characters that the ANSI side cuts to 254 bytes.
namespace {

struct Key {
    std::string name;
    std::optional<std::string> value;  // none for a line without "="
};
struct Section {
    std::string name;  // "" for the lines before the first header
    std::vector<Key> keys;
};
using Tree = std::vector<Section>;

bool IsBlank(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' '; }

std::string TrimLeft(const std::string& s) {
    std::size_t b = 0;
    while (b < s.size() && IsBlank(static_cast<unsigned char>(s[b]))) ++b;
    return s.substr(b);
}

std::string TrimRight(const std::string& s) {
    std::size_t e = s.size();
    while (e > 0 && IsBlank(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(0, e);
}

std::string Trim(const std::string& s) { return TrimRight(TrimLeft(s)); }

// Section and key names compare without case for ASCII letters.
bool SameName(const std::string& a, const std::string& b) { return LowerAsciiGbk(a) == LowerAsciiGbk(b); }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", i);
        lines.push_back(text.substr(i, end - i));
        if (end == std::string::npos) break;
        i = text.find_first_not_of("\r\n", end);
    }
    return lines;
}

void AddKeyLine(Section& section, const std::string& line) {
    const auto eq = line.find('=');
    Key key{eq == std::string::npos ? line : TrimRight(line.substr(0, eq)), std::nullopt};
    if (eq != std::string::npos) key.value = TrimLeft(line.substr(eq + 1));
    // A run of lines with empty names keeps only the first.
    if (key.name.empty() && !section.keys.empty() && section.keys.back().name.empty()) return;
    section.keys.push_back(std::move(key));
}

Tree Parse(const std::string& text) {
    Tree tree;
    if (text.empty()) return tree;
    tree.push_back({});
    for (const auto& raw : Lines(text)) {
        const std::string line = Trim(raw);
        if (line.empty()) continue;
        const auto close = line[0] == '[' ? LastIndexOfGbk(line, ']') : std::string::npos;
        if (close != std::string::npos) tree.push_back({Trim(line.substr(1, close - 1)), {}});
        else AddKeyLine(tree.back(), line);  // a "[" line without "]" is a key too
    }
    return tree;
}

std::string Serialise(const Tree& tree) {
    std::string text;
    for (const auto& section : tree) {
        if (!section.name.empty()) text += "[" + section.name + "]\r\n";
        for (const auto& key : section.keys) text += key.name + (key.value ? "=" + *key.value : "") + "\r\n";
    }
    return text;
}

// Only the first section of a name is searched; the first key of a name wins.
Section* FindSection(Tree& tree, const std::string& name) {
    for (auto& section : tree)
        if (SameName(section.name, Trim(name))) return &section;
    return nullptr;
}

Key* FindKey(Section* section, const std::string& name) {
    if (!section) return nullptr;
    for (auto& key : section->keys)
        if (SameName(key.name, Trim(name))) return &key;
    return nullptr;
}

std::size_t CharCount(const std::string& s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); i += GbkCharSize(s, i)) ++n;
    return n;
}

std::string FirstChars(const std::string& s, std::size_t chars) {
    std::size_t i = 0;
    for (; i < s.size() && chars > 0; --chars) i += GbkCharSize(s, i);
    return s.substr(0, i);
}

// A value as copied into a buffer of len characters: matching quotes around it are
// dropped, unless the buffer cuts off the closing one.
std::string CopyEntry(std::string value, std::size_t len) {
    const bool quoted = value.size() > 1 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    if (quoted) value.erase(0, 1);
    std::string out = FirstChars(value, len - 1);
    if (quoted && len >= CharCount(value) && !out.empty()) out = FirstChars(out, CharCount(out) - 1);
    return out;
}

// A default loses its trailing blanks, all but the first character.
std::string DefaultText(const std::string& def) {
    const auto last = def.find_last_not_of(' ');
    return def.substr(0, last == std::string::npos ? std::min<std::size_t>(def.size(), 1) : last + 1);
}

// Optional blanks and sign, an optional 0x, 0o or 0b, then digits, in 32 bits.
int ParseInt(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ') ++i;
    const bool negative = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    unsigned base = 10;
    if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'o' || s[i + 1] == 'b')) {
        base = s[i + 1] == 'x' ? 16 : s[i + 1] == 'o' ? 8 : 2;
        i += 2;
    }
    std::uint32_t total = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        const unsigned digit = c >= '0' && c <= '9' ? c - '0'
                               : c >= 'a' && c <= 'z' ? c - 'a' + 10
                               : c >= 'A' && c <= 'Z' ? c - 'A' + 10
                                                      : 99;
        if (digit >= base) break;
        total = total * base + digit;
    }
    return static_cast<int>(negative ? 0u - total : total);
}

}  // namespace

// The file's bytes; "" when it is missing.
std::string IniProfile::contents(const std::string& path) {
    std::string text;
    auto file = fs_.openRead(path, ReadMode::Cached);
    if (!file) return text;
    char buffer[4096];
    for (std::int64_t n; (n = file->read(buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    file->close();
    return text;
}

std::string IniProfile::readString(const std::string& section, const std::string& key,
                                   const std::string& def, const std::string& path) {
    Tree tree = Parse(contents(path));
    const Key* k = FindKey(FindSection(tree, section), key);
    std::string value = k && k->value ? *k->value : DefaultText(def);
    const std::string copied = CutGbk(CopyEntry(value, kMaxIniValueBytes + 1), kMaxIniValueBytes);
    // The copy is the value's start (less an opening quote); it ends where an escape ends.
    if (!value.starts_with(copied)) value.erase(0, 1);
    return CutGbk(value, copied.size());
}

int IniProfile::readInt(const std::string& section, const std::string& key, int def,
                        const std::string& path) {
    Tree tree = Parse(contents(path));
    const Key* k = FindKey(FindSection(tree, section), key);
    const std::string text = CopyEntry(k && k->value ? *k->value : "", 30);
    return text.empty() ? def : ParseInt(text);
}

bool IniProfile::writeString(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& path) {
    if (fs_.isFolder(path)) return false;
    Tree tree = Parse(contents(path));
    Section* s = FindSection(tree, section);
    if (!s) s = &tree.emplace_back(Section{TrimLeft(section), {}});
    Key* k = FindKey(s, key);
    if (!k) k = &s->keys.emplace_back(Key{TrimLeft(key), std::nullopt});
    const std::string stored = TrimLeft(value);
    if (k->value == stored) return true;  // nothing changes, the file is left alone
    k->value = stored;
    return replaceWhole(path, Serialise(tree));
}

// Written beside the file and then put in its place, so a full disk or a failed write
// leaves the old file whole rather than empty or cut.
bool IniProfile::replaceWhole(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    auto file = fs_.openWrite(temporary);
    const bool written = file && file->write(text.data(), text.size()) && file->close();
    if (written && fs_.replaceFile(temporary, path)) return true;
    file.reset();  // an open file cannot be deleted
    fs_.deleteFile(temporary);
    return false;
}

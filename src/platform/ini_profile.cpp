#include "platform/ini_profile.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/files.h"
#include "text/gbk.h"

// Reads follow the private-profile functions as they are implemented on the systems the
// program runs on: the file is parsed into sections and keys, and values pass through a
// buffer of 255 characters that the ANSI side cuts to 254 bytes. A write changes the line
// of its key, or adds one, and keeps every other byte of the file, as Windows does: a
// line the program does not understand (an empty "[]", a comment) stays where it was.
namespace {

struct Line {
    std::string text;
    std::string end;  // its line break: "\r\n", "\r", "\n", or "" at the end of the file
};
struct Key {
    std::string name;
    std::optional<std::string> value;  // none for a line without "="
    std::size_t line = 0;
};
struct Section {
    std::string name;  // "" for the lines before the first header
    std::vector<Key> keys;
    std::size_t end = 0;  // the line after its last one that is not blank: where a new key goes
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

// "\r\n", a lone "\r" and a lone "\n" each end a line.
std::vector<Line> Lines(const std::string& text) {
    std::vector<Line> lines;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", i), text.size());
        const std::size_t breakSize = end == text.size() ? 0 : text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        lines.push_back({text.substr(i, end - i), text.substr(end, breakSize)});
        i = end + breakSize;
    }
    return lines;
}

std::string Joined(const std::vector<Line>& lines) {
    std::string text;
    for (const auto& line : lines) text += line.text + line.end;
    return text;
}

void AddKeyLine(Section& section, const std::string& line, std::size_t index) {
    const auto eq = line.find('=');
    Key key{eq == std::string::npos ? line : TrimRight(line.substr(0, eq)), std::nullopt, index};
    if (eq != std::string::npos) key.value = TrimLeft(line.substr(eq + 1));
    // A run of lines with empty names keeps only the first.
    if (key.name.empty() && !section.keys.empty() && section.keys.back().name.empty()) return;
    section.keys.push_back(std::move(key));
}

Tree Parse(const std::vector<Line>& lines) {
    Tree tree;
    if (lines.empty()) return tree;
    tree.push_back({});
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line = Trim(lines[i].text);
        if (line.empty()) continue;
        const auto close = line[0] == '[' ? LastIndexOfGbk(line, ']') : std::string::npos;
        if (close != std::string::npos) tree.push_back({Trim(line.substr(1, close - 1)), {}, i + 1});
        else AddKeyLine(tree.back(), line, i);  // a "[" line without "]" is a key too
        tree.back().end = i + 1;
    }
    return tree;
}

// A new line before lines[at], the one above it ended first if it was the file's last.
void InsertLine(std::vector<Line>& lines, std::size_t at, const std::string& text) {
    if (at > 0 && lines[at - 1].end.empty()) lines[at - 1].end = "\r\n";
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), Line{text, "\r\n"});
}

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

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

// The file's bytes; "" when it is missing, nothing when it is there but cannot be read.
std::optional<std::string> IniProfile::contents(const std::string& path) {
    auto file = fs_.openRead(path, ReadMode::Cached);
    if (!file) return fs_.exists(path) ? std::nullopt : std::optional<std::string>("");
    std::string text;
    char buffer[4096];
    std::int64_t n;
    while ((n = file->read(buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(n));
    file->close();
    if (n < 0) return std::nullopt;
    return text;
}

bool IniProfile::readable(const std::string& path) { return contents(path).has_value(); }

std::string IniProfile::readString(const std::string& section, const std::string& key,
                                   const std::string& def, const std::string& path) {
    Tree tree = Parse(Lines(contents(path).value_or("")));
    const Key* k = FindKey(FindSection(tree, section), key);
    std::string value = k && k->value ? *k->value : DefaultText(def);
    const std::string copied = CutGbk(CopyEntry(value, kMaxIniValueBytes + 1), kMaxIniValueBytes);
    // The copy is the value's start (less an opening quote); it ends where an escape ends.
    if (!value.starts_with(copied)) value.erase(0, 1);
    return CutGbk(value, copied.size());
}

int IniProfile::readInt(const std::string& section, const std::string& key, int def,
                        const std::string& path) {
    Tree tree = Parse(Lines(contents(path).value_or("")));
    const Key* k = FindKey(FindSection(tree, section), key);
    const std::string text = CopyEntry(k && k->value ? *k->value : "", 30);
    return text.empty() ? def : ParseInt(text);
}

bool IniProfile::writeString(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& path) {
    // A line break would add lines of its own to the file.
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) || fs_.isFolder(path)) return false;
    // A file that cannot be read is not replaced by one holding only this key.
    const std::optional<std::string> text = contents(path);
    if (!text) return false;
    std::vector<Line> lines = Lines(*text);
    Tree tree = Parse(lines);
    Section* s = FindSection(tree, section);
    const Key* k = FindKey(s, key);
    const std::string stored = TrimLeft(value);
    if (k && k->value == stored) return true;  // nothing changes, the file is left alone
    if (k) {
        lines[k->line].text = k->name + "=" + stored;
    } else if (s) {
        InsertLine(lines, s->end, TrimLeft(key) + "=" + stored);
    } else {
        if (!TrimLeft(section).empty()) InsertLine(lines, lines.size(), "[" + TrimLeft(section) + "]");
        InsertLine(lines, lines.size(), TrimLeft(key) + "=" + stored);
    }
    return replaceWhole(path, Joined(lines));
}

// Written beside the file, pushed to the device and then put in its place, so a full
// disk, a failed write or a lost power leaves the old file whole rather than empty or cut.
bool IniProfile::replaceWhole(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    auto file = fs_.openWrite(temporary);
    const bool written = file && file->write(text.data(), text.size()) && file->flush() && file->close();
    if (written && fs_.replaceFile(temporary, path)) return true;
    file.reset();  // an open file cannot be deleted
    fs_.deleteFile(temporary);
    return false;
}

#include "platform/sim/sim_profile.h"

#include <optional>
#include <vector>

#include "platform/sim/sim_files.h"

namespace {

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::optional<std::string> SectionName(const std::string& line) {
    const std::string t = Trim(line);
    if (t.empty() || t[0] != '[') return std::nullopt;
    const auto close = t.find(']');
    return Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// Finds a key line in a section: its line index, or -1.
int FindKey(const std::vector<std::string>& lines, const std::string& section, const std::string& key,
            int* sectionEnd) {
    bool inSection = false, seen = false;
    *sectionEnd = -1;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        if (auto name = SectionName(lines[i])) {
            if (seen && inSection) break;  // only the first section of that name is read
            inSection = SameName(*name, section);
            seen = seen || inSection;
            if (inSection) *sectionEnd = i + 1;
            continue;
        }
        if (!inSection) continue;
        const std::string t = Trim(lines[i]);
        if (!t.empty()) *sectionEnd = i + 1;
        if (t.empty() || t[0] == ';') continue;
        const auto eq = t.find('=');
        if (SameName(Trim(t.substr(0, eq)), key)) return i;
    }
    return -1;
}

}  // namespace

std::string SimProfile::readString(const std::string& section, const std::string& key,
                                   const std::string& def, const std::string& path) {
    const auto lines = Lines(fs_.contents(path));
    int end = 0;
    const int i = FindKey(lines, section, key, &end);
    std::string value = def;
    if (i >= 0) {
        const auto eq = lines[i].find('=');
        value = eq == std::string::npos ? "" : Trim(lines[i].substr(eq + 1));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
    }
    return value.substr(0, 254);
}

int SimProfile::readInt(const std::string& section, const std::string& key, int def,
                        const std::string& path) {
    const std::string v = readString(section, key, "", path);
    int end = 0;
    if (FindKey(Lines(fs_.contents(path)), section, key, &end) < 0) return def;
    std::size_t i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+')) negative = v[i++] == '-';
    long long n = 0;
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) n = n * 10 + (v[i] - '0');
    return static_cast<int>(negative ? -n : n);
}

bool SimProfile::writeString(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& path) {
    auto lines = Lines(fs_.contents(path));
    int end = -1;
    const int i = FindKey(lines, section, key, &end);
    const std::string entry = key + "=" + value;
    if (i >= 0) lines[i] = entry;
    else if (end >= 0) lines.insert(lines.begin() + end, entry);
    else {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    }
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    auto file = fs_.openWrite(path);
    return file && file->write(text.data(), text.size()) && file->close();
}

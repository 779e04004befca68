#include "paths/rulecheck.h"

#include <string_view>

#include "text/gbk.h"

namespace {

constexpr std::string_view kForbidden = "<>:\"/\\|?*";

// Every lead byte is followed by a trail byte the code page accepts.
bool IsWholeGbk(const std::string& s) {
    for (std::size_t i = 0; i < s.size(); i += GbkCharSize(s, i)) {
        if (!IsGbkLead(static_cast<unsigned char>(s[i]))) continue;
        const unsigned char trail = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
        if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
    }
    return true;
}

// Windows drops trailing dots and blanks, which would make "..." the parent folder.
bool IsName(const std::string& name) {
    if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
    for (std::size_t i = 0; i < name.size(); i += GbkCharSize(name, i)) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (GbkCharSize(name, i) == 1 && (c < 0x20 || kForbidden.find(static_cast<char>(c)) != kForbidden.npos))
            return false;
    }
    return true;
}

bool IsPattern(const std::string& item) { return item.starts_with("*.") && IsName(item.substr(2)); }

// A device name would send the rule's files to the device, or make a folder Explorer cannot delete.
bool IsFolderName(const std::string& name) { return IsName(name) && !IsDeviceName(name); }

bool IsNoDevice(const std::string& name) { return !IsDeviceName(name); }

// Each part of s between single-byte separators passes ok.
bool AllParts(const std::string& s, char separator, bool (*ok)(const std::string&)) {
    for (std::size_t from = 0;;) {
        const std::size_t end = IndexOfGbk(s, separator, from);
        if (!ok(s.substr(from, end - from))) return false;
        if (end == std::string::npos) return true;
        from = end + 1;
    }
}

}  // namespace

bool IsPatternList(const std::string& patterns) {
    return IsWholeGbk(patterns) && AllParts(patterns, ';', IsPattern);
}

bool IsSafeSubPath(const std::string& subPath) {
    if (subPath.empty() || subPath == "\\") return true;
    if (subPath[0] != '\\' || !IsWholeGbk(subPath)) return false;
    std::string names = subPath.substr(1);
    if (EndsWithGbk(names, '\\')) names.pop_back();
    return AllParts(names, '\\', IsFolderName);
}

bool IsDeviceName(const std::string& name) {
    std::string base = LowerAsciiGbk(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();  // "con .txt" is CON as well
    if (base == "con" || base == "prn" || base == "aux" || base == "nul") return true;
    return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) && base[3] >= '0' &&
           base[3] <= '9';
}

bool NamesDevice(const std::string& subPath) { return !AllParts(subPath, '\\', IsNoDevice); }

std::string WithLeadingBackslash(const std::string& subPath) {
    return subPath.empty() || subPath[0] == '\\' ? subPath : "\\" + subPath;
}

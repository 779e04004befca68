#include "paths/paths.h"

#include "app/app.h"
#include "paths/rulecheck.h"
#include "platform/system.h"
#include "text/gbk.h"

namespace {

// The bytes after the last single-byte c; the whole text when there is none.
std::string After(const std::string& path, char c) {
    const auto p = LastIndexOfGbk(path, c);
    return p == std::string::npos ? path : path.substr(p + 1);
}

}  // namespace

std::string GetExtension(const std::string& path) { return After(path, '.'); }

std::string GetFileName(const std::string& path) { return After(path, '\\'); }

std::string GetFolderPart(const std::string& path) {
    const auto p = LastIndexOfGbk(path, '\\');
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

RuleTable ReadRules(App& app) {
    RuleTable table;
    const int rows = app.ui.rowCount(Ctl::超级列表框_扩展名);
    for (int r = 0; r < rows; ++r)
        table.rows.emplace_back(app.ui.cell(Ctl::超级列表框_扩展名, r, 0), app.ui.cell(Ctl::超级列表框_扩展名, r, 1));
    return table;
}

RuleMatch LookupRule(const RuleTable& table, const std::string& path) {
    const std::string ext = LowerAsciiGbk(GetExtension(path));
    // A name ending in "." has no extension; it would otherwise be found in every row.
    if (ext.empty()) return {};
    for (std::size_t r = 0; r < table.rows.size(); ++r)
        if (table.rows[r].first.find(ext) != std::string::npos) return {static_cast<int>(r) + 1, table.rows[r].second};
    return {};
}

RuleMatch LookupRule(App& app, const std::string& path) { return LookupRule(ReadRules(app), path); }

std::vector<std::string> WholePaths(System& sys, const std::string& text) {
    std::vector<std::string> paths;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        if (end > start) paths.push_back(sys.fullPath(text.substr(start, end - start)));
        start = end + 2;
    }
    return paths;
}

std::string NameRefusal(const std::string& sourcePath) {
    const std::string name = GetFileName(sourcePath);
    if (name.find(':') != std::string::npos) return kStreamNameText;
    if (EndsWithGbk(name, '.') || EndsWithGbk(name, ' ')) return kCutNameText;
    if (IsDeviceName(name)) return kDeviceNameText;
    return "";
}

std::string BuildDestinationPath(const std::string& root, const std::string& subPath,
                                 const std::string& sourcePath) {
    // A hand-edited rule must not lead out of the root, nor a name out of the rule's folder.
    const std::string name = GetFileName(sourcePath);
    if (!IsSafeSubPath(subPath) || name.empty() || name.find('/') != std::string::npos ||
        !NameRefusal(sourcePath).empty())
        return "";
    std::string dest = root;
    if (EndsWithGbk(dest, '\\')) dest.pop_back();
    dest += subPath;
    if (!EndsWithGbk(dest, '\\')) dest += '\\';
    return dest + name;
}

std::string NumberedName(const std::string& path, int k) {
    const std::string name = GetFileName(path);
    const auto dot = LastIndexOfGbk(name, '.');
    // A name that starts with its only dot (".nomedia") has no extension to keep last.
    const std::size_t stem = dot == std::string::npos || dot == 0 ? name.size() : dot;
    const std::size_t cut = path.size() - name.size() + stem;
    return path.substr(0, cut) + " (" + std::to_string(k) + ")" + path.substr(cut);
}

bool IsFileNotFolder(FileSystem& fs, const std::string& path) {
    if (path.size() <= 3) return false;  // a drive root is a folder when it is there at all
    std::string name = path;
    if (EndsWithGbk(name, '\\')) name.pop_back();
    return fs.exists(name) && !fs.isFolder(name);
}

bool FolderExists(FileSystem& fs, const std::string& path) {
    if (path.size() == 3 && path.ends_with(":\\")) return fs.driveTotalBytes(path[0]) >= 0;
    std::string folder = path;
    if (EndsWithGbk(folder, '\\')) folder.pop_back();
    return fs.isFolder(folder);
}

bool IsFatFormat(const std::string& format) { return format.starts_with("FAT"); }

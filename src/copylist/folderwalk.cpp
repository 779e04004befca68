#include "copylist/folderwalk.h"

#include <algorithm>

#include "platform/files.h"
#include "text/gbk.h"
#include "text/nameorder.h"

bool ForEachFileIn(FileSystem& fs, const std::string& folder, const FileVisitor& visit) {
    std::vector<DirEntry> entries = fs.listFolder(folder);
    // Files before sub-folders, so an album's own tracks come ahead of its CD1, CD2.
    std::sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
        return a.isFolder != b.isFolder ? b.isFolder : NameLess(a.name, b.name);
    });
    const std::string prefix = WithFinalSeparator(folder);
    for (const auto& e : entries) {
        const std::string path = prefix + e.name;
        if (!(e.isFolder ? ForEachFileIn(fs, path, visit) : visit(path, e.bytes))) return false;
    }
    return true;
}

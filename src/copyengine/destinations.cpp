#include "copyengine/destinations.h"

#include "paths/paths.h"
#include "text/gbk.h"

namespace {

// The folder and any missing folders above it; the target root itself must exist.
bool MakeFolder(FileSystem& fs, const std::string& folder) {
    if (FolderExists(fs, folder)) return true;
    std::string path = folder;
    if (EndsWithGbk(path, '\\')) path.pop_back();
    const std::string parent = GetFolderPart(path);
    return path.size() > 3 && !parent.empty() && MakeFolder(fs, parent) && fs.createFolder(path);
}

}  // namespace

std::string JobDestinations::claim(const std::string& dest) const {
    if (!written(dest)) return dest;
    for (int k = 2;; ++k) {
        const std::string other = NumberedName(dest, k);
        if (!written(other)) return other;
    }
}

bool JobDestinations::haveFolder(const std::string& folder) {
    if (folders_.count(folder)) return true;
    if (!MakeFolder(fs_, folder)) return false;
    folders_.insert(folder);
    return true;
}

#include "platform/sim/sim_files.h"

#include <algorithm>
#include <cstring>

#include "text/gbk.h"

namespace {

char DriveLetter(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' ? static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))) : 0;
}

std::int64_t SizeOf(const SimFileSystem::Node& n) {
    return n.claimedSize >= 0 ? n.claimedSize : static_cast<std::int64_t>(n.data.size());
}

}  // namespace

// Windows names are case-insensitive, for letters beyond ASCII too.
std::string SimFileSystem::key(const std::string& path) {
    std::string k = FoldNameCase(path);
    for (std::size_t i = 0; i < k.size(); i += GbkCharSize(k, i))
        if (k[i] == '/') k[i] = '\\';
    while (k.size() > 3 && EndsWithGbk(k, '\\')) k.pop_back();
    return k;
}

class SimFile : public File {
public:
    SimFile(SimFileSystem& fs, std::string path, bool writing) : fs_(fs), path_(std::move(path)), writing_(writing) {}
    std::int64_t size() override {
        std::lock_guard lock(fs_.mutex_);
        auto* n = fs_.find(path_);
        return n ? SizeOf(*n) : -1;
    }
    std::int64_t read(void* buf, std::size_t len) override {
        std::lock_guard lock(fs_.mutex_);
        auto* n = fs_.find(path_);
        if (!n || fs_.failing(FaultOp::Read, path_)) return -1;
        const std::size_t left = pos_ < n->data.size() ? n->data.size() - pos_ : 0;
        const std::size_t got = std::min(left, len);
        std::memcpy(buf, n->data.data() + pos_, got);
        pos_ += got;
        return static_cast<std::int64_t>(got);
    }
    bool write(const void* buf, std::size_t len) override {
        std::lock_guard lock(fs_.mutex_);
        auto* n = fs_.find(path_);
        if (!n || !writing_ || fs_.failing(FaultOp::Write, path_)) return false;
        const auto it = fs_.drives.find(DriveLetter(path_));
        if (it == fs_.drives.end()) return false;  // unplugged meanwhile
        auto& drive = it->second;
        if (static_cast<std::int64_t>(len) > drive.freeBytes) {
            // A full disk takes what fits, then refuses the rest.
            n->data.append(static_cast<const char*>(buf), static_cast<std::size_t>(drive.freeBytes));
            drive.freeBytes = 0;
            return false;
        }
        n->data.append(static_cast<const char*>(buf), len);
        if (len > 0 && fs_.failing(FaultOp::Corrupt, path_)) n->data.back() ^= 0x01;
        drive.freeBytes -= static_cast<std::int64_t>(len);
        return true;
    }
    bool flush() override {
        std::lock_guard lock(fs_.mutex_);
        return fs_.find(path_) && !fs_.failing(FaultOp::Flush, path_);
    }
    std::int64_t writeTime() override {
        std::lock_guard lock(fs_.mutex_);
        auto* n = fs_.find(path_);
        return n ? n->writeTime : -1;
    }
    std::string identity() override { return fs_.key(path_); }
    bool setDetails(bool hidden, std::int64_t writeTime) override {
        std::lock_guard lock(fs_.mutex_);
        auto* n = fs_.find(path_);
        if (!n || fs_.failing(FaultOp::Attributes, path_)) return false;
        n->hidden = hidden;
        n->writeTime = writeTime;
        return true;
    }
    bool close() override {
        std::lock_guard lock(fs_.mutex_);
        return fs_.find(path_) && !fs_.failing(FaultOp::Close, path_);
    }

private:
    SimFileSystem& fs_;
    std::string path_;
    bool writing_;
    std::size_t pos_ = 0;
};

SimFileSystem::Node* SimFileSystem::find(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (!drives.count(DriveLetter(path))) return nullptr;
    auto it = nodes.find(key(path));
    return it == nodes.end() ? nullptr : &it->second;
}

bool SimFileSystem::parentExists(const std::string& path) {
    std::lock_guard lock(mutex_);
    const std::string k = key(path);
    const auto slash = LastIndexOfGbk(k, '\\');
    if (slash == std::string::npos) return false;
    if (slash == 2) return drives.count(DriveLetter(path)) > 0;  // in a drive root
    auto* parent = find(k.substr(0, slash));
    return parent && parent->folder;
}

std::int64_t SimFileSystem::fileSize(const std::string& path) {
    std::lock_guard lock(mutex_);
    auto* n = find(path);
    if (!n || n->folder || n->locked) return -1;
    return SizeOf(*n);
}

bool SimFileSystem::exists(const std::string& path) { return find(path) != nullptr; }

bool SimFileSystem::isFolder(const std::string& path) {
    std::lock_guard lock(mutex_);
    auto* n = find(path);
    return n && n->folder;
}

std::int64_t SimFileSystem::driveTotalBytes(char letter) {
    std::lock_guard lock(mutex_);
    auto it = drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
    return it == drives.end() ? -1 : it->second.totalBytes;
}

std::int64_t SimFileSystem::driveFreeKb(char letter) {
    std::lock_guard lock(mutex_);
    auto it = drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
    return it == drives.end() ? -1 : it->second.freeBytes / 1024;
}

std::string SimFileSystem::removableDrives() {
    std::lock_guard lock(mutex_);
    std::string letters;
    for (const auto& [letter, drive] : drives)
        if (drive.removable) letters += letter;
    return letters;
}

std::vector<DirEntry> SimFileSystem::listFolder(const std::string& folder) {
    std::lock_guard lock(mutex_);
    std::vector<DirEntry> out;
    const std::string prefix = WithFinalSeparator(key(folder));
    if (!drives.count(DriveLetter(folder))) return out;
    for (const auto& [k, node] : nodes) {
        if (k.size() <= prefix.size() || k.compare(0, prefix.size(), prefix) != 0) continue;
        if (IndexOfGbk(k, '\\', prefix.size()) != std::string::npos) continue;  // deeper down
        const std::string& name = names[k];
        out.push_back({name.substr(LastIndexOfGbk(name, '\\') + 1), node.folder});
    }
    return out;
}

std::unique_ptr<File> SimFileSystem::openRead(const std::string& path, ReadMode mode) {
    if (beforeOpenRead) beforeOpenRead(path, mode);
    std::lock_guard lock(mutex_);
    auto* n = find(path);
    if (!n || n->folder || n->locked || failing(FaultOp::OpenRead, path)) return nullptr;
    return std::make_unique<SimFile>(*this, path, false);
}

std::unique_ptr<File> SimFileSystem::openWrite(const std::string& path, WriteMode mode) {
    std::lock_guard lock(mutex_);
    auto* n = find(path);
    if (n && (n->folder || n->readOnly || n->locked)) return nullptr;
    if (!n && (!parentExists(path) || path.size() > maxPathBytes)) return nullptr;
    if (failing(FaultOp::OpenWrite, path)) return nullptr;
    if (n) {
        drives[DriveLetter(path)].freeBytes += static_cast<std::int64_t>(n->data.size());
        n->data.clear();
    } else {
        nodes[key(path)] = Node{};
        names[key(path)] = path;
    }
    nodes[key(path)].hidden = mode == WriteMode::Hidden;
    nodes[key(path)].writeTime = nextTime();
    return std::make_unique<SimFile>(*this, path, true);
}

std::unique_ptr<File> SimFileSystem::createNew(const std::string& path, bool& exists) {
    std::lock_guard lock(mutex_);
    exists = find(path) != nullptr;
    return exists ? nullptr : openWrite(path, WriteMode::Hidden);
}

FileInfo SimFileSystem::fileInfo(const std::string& path) {
    std::lock_guard lock(mutex_);
    auto* n = find(path);
    if (!n || n->folder || n->locked) return {};
    return {SizeOf(*n), n->writeTime, key(path)};
}

bool SimFileSystem::createNewFile(const std::string& path, const std::string& bytes) {
    std::lock_guard lock(mutex_);
    if (find(path) || !parentExists(path) || failing(FaultOp::OpenWrite, path)) return false;
    auto file = openWrite(path);
    if (!file) return false;
    const bool written = file->write(bytes.data(), bytes.size());
    if (file->close() && written) return true;
    deleteFile(path);
    return false;
}

bool SimFileSystem::flushFile(const std::string& path) {
    std::lock_guard lock(mutex_);
    auto* n = find(path);
    return n && !n->folder && !n->readOnly && !n->locked && !failing(FaultOp::Flush, path);
}

bool SimFileSystem::createFolder(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (find(path) || !parentExists(path) || path.size() > maxPathBytes || failing(FaultOp::CreateFolder, path))
        return false;
    addFolder(path);
    return true;
}

std::uint32_t SimFileSystem::attributes(const std::string& path) {
    std::lock_guard lock(mutex_);
    auto* n = find(path);
    if (!n) return kNoAttributes;
    if (n->folder) return 0x10;
    const std::uint32_t bits = (n->readOnly ? kReadOnlyAttribute : 0) | (n->hidden ? kHiddenAttribute : 0);
    return bits ? bits : kNormalAttributes;
}

bool SimFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
    std::lock_guard lock(mutex_);
    auto* n = find(path);
    if (!n || failing(FaultOp::Attributes, path)) return false;
    n->readOnly = (attributes & kReadOnlyAttribute) != 0;
    n->hidden = (attributes & kHiddenAttribute) != 0;
    return true;
}

bool SimFileSystem::replaceFile(const std::string& from, const std::string& to) {
    std::lock_guard lock(mutex_);
    auto* source = find(from);
    auto* target = find(to);
    if (!source || source->folder || (target && (target->folder || target->readOnly || target->locked)) ||
        failing(FaultOp::Replace, to))
        return false;
    if (target) drives[DriveLetter(to)].freeBytes += static_cast<std::int64_t>(target->data.size());
    Node moved = *source;
    nodes.erase(key(from));
    names.erase(key(from));
    nodes[key(to)] = moved;
    names[key(to)] = to;
    return true;
}

std::string SimFileSystem::volumeFormat(const std::string& root) {
    std::lock_guard lock(mutex_);
    const auto it = drives.find(DriveLetter(root));
    return it == drives.end() ? "" : it->second.format;
}

bool SimFileSystem::deleteFile(const std::string& path) {
    std::lock_guard lock(mutex_);
    auto* n = find(path);
    if (!n || n->folder || n->readOnly || n->locked || failing(FaultOp::Delete, path)) return false;
    drives[DriveLetter(path)].freeBytes += static_cast<std::int64_t>(n->data.size());
    names.erase(key(path));
    nodes.erase(key(path));
    return true;
}

void SimFileSystem::addDrive(char letter, std::int64_t totalBytes, std::int64_t freeBytes) {
    std::lock_guard lock(mutex_);
    drives[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))] = {totalBytes, freeBytes};
}

void SimFileSystem::removeDrive(char letter) {
    std::lock_guard lock(mutex_);
    const char d = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    drives.erase(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
    std::erase_if(nodes, [d](const auto& kv) { return kv.first[0] == d; });
    std::erase_if(names, [d](const auto& kv) { return kv.first[0] == d; });
}

void SimFileSystem::addFolder(const std::string& path) {
    std::lock_guard lock(mutex_);
    const std::string k = key(path);
    for (std::size_t slash = IndexOfGbk(k, '\\', 3); ; slash = IndexOfGbk(k, '\\', slash + 1)) {
        const std::string part = slash == std::string::npos ? path.substr(0, k.size()) : path.substr(0, slash);
        if (part.size() > 3 && !nodes.count(key(part))) {
            nodes[key(part)] = Node{true, {}, false, false};
            names[key(part)] = part;
        }
        if (slash == std::string::npos) break;
    }
}

void SimFileSystem::addFile(const std::string& path, const std::string& data) {
    std::lock_guard lock(mutex_);
    const std::string k = key(path);
    addFolder(path.substr(0, LastIndexOfGbk(k, '\\')));
    nodes[k] = Node{false, data, false, false};
    nodes[k].writeTime = nextTime();
    names[k] = path;
}

std::string SimFileSystem::contents(const std::string& path) {
    std::lock_guard lock(mutex_);
    auto* n = find(path);
    return n ? n->data : std::string();
}

#include "platform/sim/sim_files.h"

#include <algorithm>

#include "text/gbk.h"

namespace {

char DriveLetter(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' ? static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))) : 0;
}

std::int64_t SizeOf(const SimFileSystem::Node& n) {
    return n.claimedSize >= 0 ? n.claimedSize : static_cast<std::int64_t>(n.data.size());
}

// The share modes the Windows layer opens with.
constexpr unsigned kShareAll = kSimRead | kSimWrite | kSimDelete;

}  // namespace

// Windows names are case-insensitive, for letters beyond ASCII too.
std::string SimFileSystem::key(const std::string& path) {
    std::string k = FoldNameCase(path);
    for (std::size_t i = 0; i < k.size(); i += GbkCharSize(k, i))
        if (k[i] == '/') k[i] = '\\';
    while (k.size() > 3 && EndsWithGbk(k, '\\')) k.pop_back();
    return k;
}

SimFileSystem::Node* SimFileSystem::find(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (!drives.count(DriveLetter(path))) return nullptr;
    auto it = nodes.find(key(path));
    return it == nodes.end() ? nullptr : it->second.get();
}

SimFileSystem::NodePtr SimFileSystem::newNode(const std::string& path) {
    auto node = std::make_shared<Node>();
    node->id = ++lastId_;
    node->writeTime = nextTime();
    nodes[key(path)] = node;
    names[key(path)] = path;
    return node;
}

void SimFileSystem::release(const std::string& path, const Node& n) {
    Drive& drive = drives[DriveLetter(path)];
    drive.freeBytes += ClusterRound(SizeOf(n), drive.clusterBytes);
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
    if (failing(FaultOp::Info, path)) return -1;
    auto* n = find(path);
    if (!n || n->folder || n->locked) return -1;
    return SizeOf(*n);
}

bool SimFileSystem::exists(const std::string& path) { return failing(FaultOp::Info, path) || find(path); }

bool SimFileSystem::isFolder(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (failing(FaultOp::Info, path)) return false;
    auto* n = find(path);
    return n && n->folder;
}

std::int64_t SimFileSystem::driveTotalBytes(char letter) {
    std::lock_guard lock(mutex_);
    if (failing(FaultOp::Space, std::string(1, letter) + ":\\")) return -1;
    auto it = drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
    return it == drives.end() ? -1 : it->second.totalBytes;
}

std::int64_t SimFileSystem::driveFreeKb(char letter) {
    const DriveSpace space = driveSpace(letter);
    return space.freeBytes < 0 ? -1 : space.freeBytes / 1024;
}

DriveSpace SimFileSystem::driveSpace(char letter) {
    std::lock_guard lock(mutex_);
    if (failing(FaultOp::Space, std::string(1, letter) + ":\\")) return {};
    auto it = drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
    if (it == drives.end()) return {};
    return {it->second.freeBytes, it->second.clusterBytes};
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
    if (failing(FaultOp::Info, folder) || !drives.count(DriveLetter(folder))) return out;
    for (const auto& [k, node] : nodes) {
        if (k.size() <= prefix.size() || k.compare(0, prefix.size(), prefix) != 0) continue;
        if (IndexOfGbk(k, '\\', prefix.size()) != std::string::npos) continue;  // deeper down
        const std::string& name = names[k];
        out.push_back({name.substr(LastIndexOfGbk(name, '\\') + 1), node->folder,
                       node->folder || node->locked ? -1 : SizeOf(*node)});
    }
    return out;
}

std::unique_ptr<File> SimFileSystem::openRead(const std::string& path, ReadMode mode) {
    if (beforeOpenRead) beforeOpenRead(path, mode);
    std::lock_guard lock(mutex_);
    if (failing(FaultOp::OpenRead, path)) return nullptr;
    auto* n = find(path);
    // A copy is read back while its writer still holds it.
    const unsigned share = mode == ReadMode::Uncached ? kSimRead | kSimWrite : kSimRead;
    if (!n || n->folder || !mayOpen(*n, kSimRead, share)) return nullptr;
    return openHandle(nodes[key(path)], path, kSimRead, share);
}

std::unique_ptr<File> SimFileSystem::openWrite(const std::string& path, WriteMode mode) {
    std::lock_guard lock(mutex_);
    return failing(FaultOp::OpenWrite, path) ? nullptr : openWriteAt(path, mode);
}

std::unique_ptr<File> SimFileSystem::openWriteAt(const std::string& path, WriteMode mode) {
    auto* n = find(path);
    if (n && (n->folder || n->readOnly || !mayOpen(*n, kSimWrite, kSimRead))) return nullptr;
    if (!n && (!parentExists(path) || path.size() > maxPathBytes)) return nullptr;
    NodePtr node = n ? nodes[key(path)] : newNode(path);
    if (n) {
        release(path, *n);
        node->data.clear();
        node->claimedSize = -1;
        node->writeTime = nextTime();
    }
    node->hidden = node->system = mode == WriteMode::Hidden;
    return openHandle(node, path, kSimWrite, kSimRead);
}

std::unique_ptr<File> SimFileSystem::createNew(const std::string& path, bool& exists) {
    std::lock_guard lock(mutex_);
    // A name that is taken fails the create without writing anything.
    exists = find(path) != nullptr;
    if (exists || failing(FaultOp::OpenWrite, path)) return nullptr;
    return openWriteAt(path, WriteMode::Hidden);
}

FileInfo SimFileSystem::fileInfo(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (failing(FaultOp::Info, path)) return {};
    auto* n = find(path);
    if (!n || n->folder || n->locked) return {};
    return {SizeOf(*n), n->writeTime, "sim:" + std::to_string(n->id), attributes(path)};
}

bool SimFileSystem::createNewFile(const std::string& path, const std::string& bytes) {
    std::lock_guard lock(mutex_);
    if (failing(FaultOp::OpenWrite, path) || find(path) || !parentExists(path)) return false;
    auto file = openWriteAt(path, WriteMode::Visible);
    if (!file) return false;
    const bool written = file->write(bytes.data(), bytes.size());
    if (file->close() && written) return true;
    file.reset();
    deleteFile(path);
    return false;
}

bool SimFileSystem::flushFile(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (failing(FaultOp::Flush, path)) return false;
    auto* n = find(path);
    return n && !n->folder && !n->readOnly && mayOpen(*n, kSimWrite, kSimRead);
}

bool SimFileSystem::createFolder(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (failing(FaultOp::CreateFolder, path) || find(path) || !parentExists(path) || path.size() > maxPathBytes)
        return false;
    addFolder(path);
    return true;
}

std::uint32_t SimFileSystem::attributes(const std::string& path) {
    std::lock_guard lock(mutex_);
    auto* n = find(path);
    if (!n) return kNoAttributes;
    if (n->folder) return 0x10;
    const std::uint32_t bits = (n->readOnly ? kReadOnlyAttribute : 0) | (n->hidden ? kHiddenAttribute : 0) |
                               (n->system ? kSystemAttribute : 0);
    return bits ? bits : kNormalAttributes;
}

bool SimFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
    std::lock_guard lock(mutex_);
    if (failing(FaultOp::Attributes, path)) return false;
    auto* n = find(path);
    if (!n) return false;
    n->readOnly = (attributes & kReadOnlyAttribute) != 0;
    n->hidden = (attributes & kHiddenAttribute) != 0;
    n->system = (attributes & kSystemAttribute) != 0;
    return true;
}

// Both names are opened for deleting: a handle that does not share that blocks the move.
bool SimFileSystem::replaceFile(const std::string& from, const std::string& to) {
    std::lock_guard lock(mutex_);
    if (failing(FaultOp::Replace, to)) return false;
    auto* source = find(from);
    auto* target = find(to);
    if (!source || source->folder || !mayOpen(*source, kSimDelete, kShareAll) ||
        (target && (target->folder || target->readOnly || !mayOpen(*target, kSimDelete, kShareAll))))
        return false;
    if (target) release(to, *target);
    NodePtr moved = nodes[key(from)];
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
    if (failing(FaultOp::Delete, path)) return false;
    auto* n = find(path);
    if (!n || n->folder || n->readOnly || !mayOpen(*n, kSimDelete, kShareAll)) return false;
    release(path, *n);
    names.erase(key(path));
    nodes.erase(key(path));
    return true;
}

DeleteOutcome SimFileSystem::deleteIfSame(const std::string& path, const FileInfo& expected) {
    std::lock_guard lock(mutex_);
    if (failing(FaultOp::Delete, path)) return DeleteOutcome::Failed;
    auto* n = find(path);
    if (!n) return DeleteOutcome::Changed;
    if (n->folder || !mayOpen(*n, kSimDelete, kShareAll)) return DeleteOutcome::Failed;
    if ((!expected.identity.empty() && "sim:" + std::to_string(n->id) != expected.identity) ||
        SizeOf(*n) != expected.size || n->writeTime != expected.writeTime)
        return DeleteOutcome::Changed;
    release(path, *n);
    names.erase(key(path));
    nodes.erase(key(path));
    return DeleteOutcome::Deleted;
}

void SimFileSystem::addDrive(char letter, std::int64_t totalBytes, std::int64_t freeBytes) {
    std::lock_guard lock(mutex_);
    Drive& drive = drives[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))];
    drive.totalBytes = totalBytes;
    drive.freeBytes = freeBytes;
}

void SimFileSystem::removeDrive(char letter) {
    std::lock_guard lock(mutex_);
    const char d = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    drives.erase(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
    std::erase_if(nodes, [d](const auto& kv) { return kv.first[0] == d; });
    std::erase_if(names, [d](const auto& kv) { return kv.first[0] == d; });
}

void SimFileSystem::unplug(char letter) {
    std::lock_guard lock(mutex_);
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (!drives.count(upper)) return;
    Shelved& shelf = unplugged_[upper];
    shelf.drive = drives[upper];
    const char d = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    for (auto it = nodes.begin(); it != nodes.end();) {
        if (it->first[0] != d) {
            ++it;
            continue;
        }
        shelf.names[it->first] = names[it->first];
        names.erase(it->first);
        shelf.nodes.insert(nodes.extract(it++));
    }
    drives.erase(upper);
}

void SimFileSystem::plugIn(char letter) {
    std::lock_guard lock(mutex_);
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    auto it = unplugged_.find(upper);
    if (it == unplugged_.end()) return;
    drives[upper] = it->second.drive;
    nodes.merge(it->second.nodes);
    names.merge(it->second.names);
    unplugged_.erase(it);
}

void SimFileSystem::addFolder(const std::string& path) {
    std::lock_guard lock(mutex_);
    const std::string k = key(path);
    for (std::size_t slash = IndexOfGbk(k, '\\', 3); ; slash = IndexOfGbk(k, '\\', slash + 1)) {
        const std::string part = slash == std::string::npos ? path.substr(0, k.size()) : path.substr(0, slash);
        if (part.size() > 3 && !nodes.count(key(part))) newNode(part)->folder = true;
        if (slash == std::string::npos) break;
    }
}

void SimFileSystem::addFile(const std::string& path, const std::string& data) {
    std::lock_guard lock(mutex_);
    const std::string k = key(path);
    addFolder(path.substr(0, LastIndexOfGbk(k, '\\')));
    newNode(path)->data = data;
}

std::string SimFileSystem::contents(const std::string& path) {
    std::lock_guard lock(mutex_);
    auto* n = find(path);
    return n ? n->data : std::string();
}

// An open file of the simulated file system: it holds the file it opened, not its path,
// and counts in the file's list of handles until it is closed.
#include <algorithm>
#include <cstring>

#include "platform/sim/sim_files.h"

namespace {

char DriveOf(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' ? static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))) : 0;
}

}  // namespace

class SimFile : public File {
public:
    SimFile(SimFileSystem& fs, std::shared_ptr<SimFileSystem::Node> node, std::string path, unsigned access,
            unsigned share)
        : fs_(fs), node_(std::move(node)), path_(std::move(path)), drive_(DriveOf(path_)), access_(access) {
        open_ = node_->opens.insert(node_->opens.end(), {access, share});
    }
    ~SimFile() override { let(); }

    std::int64_t size() override {
        std::lock_guard lock(fs_.mutex_);
        return plugged() ? Size() : -1;
    }
    std::int64_t read(void* buf, std::size_t len) override {
        std::lock_guard lock(fs_.mutex_);
        if (fs_.failing(FaultOp::Read, path_) || !plugged()) return -1;
        const std::string& data = node_->data;
        const std::size_t got = std::min(pos_ < data.size() ? data.size() - pos_ : 0, len);
        std::memcpy(buf, data.data() + pos_, got);
        pos_ += got;
        return static_cast<std::int64_t>(got);
    }
    // A full drive takes what fits in its clusters, then refuses the rest.
    bool write(const void* buf, std::size_t len) override {
        std::lock_guard lock(fs_.mutex_);
        if (!(access_ & kSimWrite) || fs_.failing(FaultOp::Write, path_) || !plugged()) return false;
        SimFileSystem::Drive& drive = fs_.drives.at(drive_);
        std::string& data = node_->data;
        const std::int64_t had = static_cast<std::int64_t>(data.size());
        const std::int64_t held = ClusterRound(had, drive.clusterBytes);
        const std::int64_t room = held + drive.freeBytes / std::max<std::int64_t>(drive.clusterBytes, 1) *
                                             std::max<std::int64_t>(drive.clusterBytes, 1) - had;
        const std::size_t put = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(len), room));
        data.append(static_cast<const char*>(buf), put);
        drive.freeBytes -= ClusterRound(static_cast<std::int64_t>(data.size()), drive.clusterBytes) - held;
        if (put < len) return false;
        if (len > 0 && fs_.failing(FaultOp::Corrupt, path_)) data.back() ^= 0x01;
        return true;
    }
    bool flush() override {
        std::lock_guard lock(fs_.mutex_);
        return !fs_.failing(FaultOp::Flush, path_) && plugged();
    }
    FileInfo info() override {
        std::lock_guard lock(fs_.mutex_);
        if (!plugged()) return {};
        return {Size(), node_->writeTime, "",
                (node_->readOnly ? kReadOnlyAttribute : 0) | (node_->hidden ? kHiddenAttribute : 0) |
                    (node_->system ? kSystemAttribute : 0)};
    }
    std::string identity() override {
        std::lock_guard lock(fs_.mutex_);
        return plugged() ? "sim:" + std::to_string(node_->id) : "";
    }
    bool setDetails(bool hidden, std::int64_t writeTime) override {
        std::lock_guard lock(fs_.mutex_);
        if (fs_.failing(FaultOp::Attributes, path_) || !plugged()) return false;
        node_->hidden = node_->system = hidden;
        node_->writeTime = writeTime;
        return true;
    }
    // A close that fails after writing has lost the last bytes the system still held, as a
    // failed delayed write does.
    bool close() override {
        std::lock_guard lock(fs_.mutex_);
        let();
        if (!fs_.failing(FaultOp::Close, path_)) return plugged();
        if ((access_ & kSimWrite) && !node_->data.empty()) node_->data.pop_back();
        return false;
    }

private:
    bool plugged() const { return fs_.drives.count(drive_) > 0; }
    std::int64_t Size() const {
        return node_->claimedSize >= 0 ? node_->claimedSize : static_cast<std::int64_t>(node_->data.size());
    }
    // Others may do again what this handle's share mode kept them from.
    void let() {
        std::lock_guard lock(fs_.mutex_);
        if (!closed_) node_->opens.erase(open_);
        closed_ = true;
    }

    SimFileSystem& fs_;
    std::shared_ptr<SimFileSystem::Node> node_;
    std::string path_;
    char drive_;
    unsigned access_;
    std::list<SimFileSystem::Open>::iterator open_;
    bool closed_ = false;
    std::size_t pos_ = 0;
};

bool SimFileSystem::mayOpen(const Node& node, unsigned access, unsigned share) {
    if (node.locked) return false;
    return std::all_of(node.opens.begin(), node.opens.end(),
                       [&](const Open& o) { return !(access & ~o.share) && !(o.access & ~share); });
}

std::unique_ptr<File> SimFileSystem::openHandle(const NodePtr& node, const std::string& path, unsigned access,
                                                unsigned share) {
    return std::make_unique<SimFile>(*this, node, path, access, share);
}

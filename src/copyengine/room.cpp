#include "copyengine/room.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "app/app.h"
#include "copyengine/copyloop.h"
#include "copyengine/destinations.h"
#include "copyengine/existing.h"
#include "paths/paths.h"
#include "text/gbk.h"

namespace {

constexpr char kCopyWhatFitsQuestion[] =
    "待复制文件总大小 大于 目标磁盘 剩余空间！\r\n只复制放得下的文件吗？放不下的文件将留在列表中。";

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::int64_t Sum(const std::vector<std::int64_t>& values) {
    std::int64_t sum = 0;
    for (std::int64_t v : values) sum += v;
    return sum;
}

// Files as their folders' listings give them, each folder listed once: Wine looks for a
// name that is not there by reading its whole folder, so a look-up per row of a
// 10,000-row list cost minutes on a player.
class ListedFiles {
public:
    explicit ListedFiles(FileSystem& fs) : fs_(fs) {}
    FileInfo at(const std::string& dest) {
        const std::string folder = GetFolderPart(dest);
        if (listed_.insert(fs_.nameKey(folder)).second)
            for (const DirEntry& e : fs_.listFolder(folder))
                if (!e.isFolder) files_[fs_.nameKey(WithFinalSeparator(folder) + e.name)] = {e.bytes, e.writeTime, "", e.attributes};
        const auto it = files_.find(fs_.nameKey(dest));
        return it == files_.end() ? FileInfo{} : it->second;
    }

private:
    FileSystem& fs_;
    std::set<std::string> listed_;
    std::map<std::string, FileInfo> files_;
};

// Each row's room. A file listed twice is copied once; a second file for one destination
// takes a numbered name beside the first, and room of its own.
std::vector<std::int64_t> RowsRoom(App& app, const JobPlan& plan, std::int64_t clusterBytes) {
    std::vector<std::int64_t> rooms;
    std::set<std::string> sources, dests;
    ListedFiles files(app.fs);
    for (const JobRow& row : plan.rows) {
        const std::string dest = BuildDestinationPath(plan.root, row.subPath, row.source);
        const bool repeat = !sources.insert(app.fs.nameKey(row.source)).second;
        const bool numbered = !dests.insert(app.fs.nameKey(dest)).second;
        rooms.push_back(repeat      ? 0
                        : numbered ? ClusterRound(std::max<std::int64_t>(row.bytes, 0), clusterBytes)
                                   : RoomOver(app, row, dest, dest.empty() ? FileInfo{} : files.at(dest),
                                              [&] { return files.at(row.source); }, clusterBytes));
    }
    return rooms;
}

}  // namespace

DriveSpace RootSpace(FileSystem& fs, const std::string& root) {
    if (root.size() < 2 || !IsAsciiLetter(root[0]) || root[1] != ':') return {};
    return fs.driveSpace(root[0]);
}

std::int64_t RowRoom(App& app, const JobPlan& plan, const JobRow& row, const JobDestinations& places,
                     std::int64_t clusterBytes) {
    const std::string named = BuildDestinationPath(plan.root, row.subPath, row.source);
    const std::string dest = named.empty() ? named : places.claim(named);
    return RoomOver(app, row, dest, dest.empty() ? FileInfo{} : app.fs.fileInfo(dest),
                    [&] { return app.fs.fileInfo(row.source); }, clusterBytes);
}

std::int64_t RoomOver(App& app, const JobRow& row, const std::string& dest, const FileInfo& there,
                      const std::function<FileInfo()>& sourceInfo, std::int64_t clusterBytes) {
    if (there.size < 0) return ClusterRound(std::max<std::int64_t>(row.bytes, 0), clusterBytes);
    const FileInfo source = sourceInfo();
    if (source.size < 0 || SameFile(app.fs, row.source, source.identity, dest, there) ||
        LooksIdentical(source.size, source.writeTime, there))
        return 0;
    // A replacement finally takes the old file's room; while the drive is tight its copy
    // is made in place.
    return std::max<std::int64_t>(ClusterRound(source.size, clusterBytes) - ClusterRound(there.size, clusterBytes), 0);
}

bool MakeRoom(App& app, JobPlan& plan) {
    const DriveSpace space = RootSpace(app.fs, plan.root);
    if (space.freeBytes < 0) return false;  // a drive that cannot be asked holds nothing
    std::int64_t listed = 0;
    for (const JobRow& row : plan.rows) listed += ClusterRound(std::max<std::int64_t>(row.bytes, 0), space.clusterBytes);
    if (listed <= space.freeBytes) return true;
    const std::vector<std::int64_t> rooms = RowsRoom(app, plan, space.clusterBytes);
    if (Sum(rooms) <= space.freeBytes) return true;
    std::vector<bool> fits(rooms.size());
    std::int64_t left = space.freeBytes;
    bool any = false;
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        fits[i] = rooms[i] <= left;
        if (fits[i]) left -= rooms[i];
        any = any || (fits[i] && rooms[i] > 0);
    }
    if (!any) return false;  // nothing new would fit: refused as it was
    if (app.ui.messageBox(kCopyWhatFitsQuestion, kProgramTitle, mb::YesNo | mb::IconQuestion) != mb::IdYes) return false;
    for (std::size_t i = 0; i < rooms.size(); ++i) plan.rows[i].noRoom = !fits[i];
    return true;
}

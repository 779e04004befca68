// The first stage: each row's bytes written to its target, and what is at the target
// before that: nothing, the same file, a file to ask about, or no room.
#include "copyengine/copymethods.h"
#include "copyengine/copystages.h"
#include "copyengine/existing.h"
#include "copyengine/jobevents.h"
#include "copyengine/room.h"
#include "paths/paths.h"

namespace {

constexpr char kFolderUnmadeText[] = "无法创建目标目录，复制失败!";
constexpr char kUnsafeRuleText[] = "规则的目标路径不在复制根目录下，复制失败!";
constexpr std::int64_t kFatLargest = (1LL << 32) - 1;

// Why a row cannot be copied before a byte is written, or "".
std::string Refusal(const JobPlan& plan, std::int64_t size, const std::string& folder, JobDestinations& places) {
    if (plan.fatTarget && size > kFatLargest) return kTooLargeForFatText;
    if (!places.haveFolder(folder)) return kFolderUnmadeText;
    return "";
}

}  // namespace

void CopyStages::run() {
    for (int i = 0; i < static_cast<int>(plan_.rows.size()); ++i) {
        if (!plan_.ownCopy) app_.ui.pumpEvents();  // lets Cancel in between files
        if (!goingOn()) break;
        finisher_.give(copy(i));
    }
    finisher_.finish();
}

Source CopyStages::openSource(const std::string& path) {
    Source source;
    if (!plan_.ownCopy) {
        source.info = app_.fs.fileInfo(path);
        return source;
    }
    source.file = app_.fs.openRead(path);
    if (source.file) source.info = source.file->info();
    return source;
}

RowWork CopyStages::copy(int i) {
    const JobRow& row = plan_.rows[i];
    RowWork work;
    work.index = i;
    work.row = &row;
    AnnounceRow(app_, events_, i, row.source);
    // The same file listed twice is copied once.
    const auto [first, isNew] = sources_.try_emplace(app_.fs.nameKey(row.source), i);
    if (!isNew) {
        work.sameAs = first->second;
        return work;
    }
    if (row.noRoom) {
        work.result = CopyResult{false, kNoRoomText};
        return work;
    }
    if (full_ && !stillFits(row)) return work;
    const std::string dest = BuildDestinationPath(plan_.root, row.subPath, row.source);
    std::string refusal = NameRefusal(row.source);
    if (refusal.empty() && dest.empty()) refusal = kUnsafeRuleText;
    // The player's own file at its destination is that file, whatever the job did before.
    if (refusal.empty() && app_.fs.nameKey(dest) == first->first) refusal = kSameFileText;
    Source source = refusal.empty() ? openSource(row.source) : Source{};  // a device is never opened
    work.source = source.info;
    if (refusal.empty() && ((plan_.ownCopy && !source.file) || source.info.size < 0)) refusal = kSourceUnreadableText;
    if (refusal.empty()) refusal = Refusal(plan_, source.info.size, GetFolderPart(dest), places_);
    if (!refusal.empty()) {
        work.result = CopyResult{false, refusal};
        return work;
    }
    const std::string target = places_.claim(dest);
    // Another name of the file this job placed at dest, or of the one it replaces there.
    if (target != dest && SameFile(app_.fs, row.source, source.identity(), dest, app_.fs.fileInfo(dest))) {
        work.result = CopyResult{false, kSameFileText};
        return work;
    }
    // Whatever happens there, the name is this row's: a later file of the job takes the
    // next one rather than ask again about a file the user chose to keep.
    const bool writing = open(work, source, target);
    places_.note(target);
    // The source is deleted only while it is still the file copied.
    if (plan_.deleteSource) work.source.identity = source.identity();
    if (!writing) return work;
    if (plan_.ownCopy) {
        WrittenCopy written = WriteWithProgress(app_, events_, *source.file, *work.out, Ctl::进度条2, plan_.verify,
                                                countFor(work), stopFor(*work.place));
        source.file->close();  // every byte is already read; a late error here cannot spoil the copy
        if (!written.stopped) work.result = written.result;
        work.digest = std::move(written.digest);
    } else {
        work.result = CopyWithShell(app_, row.source, work.place->target, plan_.verify, work.place->mode());
    }
    if (work.result && !work.result->ok && ranOutOfRoom(work.place->target, source.info.size)) {
        work.result->text = kPlayerFullText;
        full_ = true;
    }
    return work;
}

bool CopyStages::ranOutOfRoom(const std::string& target, std::int64_t bytes) {
    const DriveSpace space = RootSpace(app_.fs, plan_.root);
    const std::int64_t written = std::max<std::int64_t>(app_.fs.fileInfo(target).size, 0);
    return space.freeBytes >= 0 &&
           ClusterRound(bytes, space.clusterBytes) - ClusterRound(written, space.clusterBytes) > space.freeBytes;
}

bool CopyStages::stillFits(const JobRow& row) {
    finisher_.drain();
    const DriveSpace space = RootSpace(app_.fs, plan_.root);
    // Once full, every later row is measured first: one that fits leaves the next one to be
    // measured too, not tried blind.
    if (space.freeBytes < 0 || RowRoom(app_, plan_, row, places_, space.clusterBytes) <= space.freeBytes) return true;
    ended_ = true;
    Warn(app_, events_, "目标磁盘 " + plan_.root + " 已满，复制已停止！");
    return false;
}

bool CopyStages::open(RowWork& work, Source& source, const std::string& target) {
    bool exists = false;
    if (openNew(work, target, exists)) return true;
    if (!exists) {
        work.result = CopyResult{false, kDestUnwritableText};
        return false;
    }
    const FileInfo there = app_.fs.fileInfo(target);
    // A name taken by something that cannot be looked at (a folder, a failed look-up)
    // is left alone: nothing to ask about, nothing known to replace.
    if (there.size < 0) {
        work.result = CopyResult{false, kDestUnwritableText};
        return false;
    }
    // A copy this program left unfinished (an unplugged player) is its own: made anew,
    // never asked about.
    if (IsUnfinishedCopy(there)) {
        if (app_.fs.deleteFile(target) && openNew(work, target, exists)) return true;
        work.result = CopyResult{false, kDestUnwritableText};
        return false;
    }
    if (!replaceExisting(work, source, target, there)) return false;
    std::optional<Placement> place = placeReplacement(source.info.size, target, there);
    // Cancel or an unplugged player while the question was up: no copy starts.
    if (!goingOn()) return false;
    if (!place) {
        full_ = true;
        work.result = CopyResult{false, kPlayerFullText};
        return false;
    }
    if (!plan_.ownCopy && !UnlockInPlace(app_.fs, *place)) {
        work.result = CopyResult{false, kDestUnwritableText};
        return false;
    }
    if (plan_.ownCopy) {
        work.out = OpenTarget(app_.fs, *place);
        if (!work.out) {  // nothing written, so nothing to remove
            work.result = CopyResult{false, kDestUnwritableText};
            return false;
        }
    }
    work.place = std::move(place);
    return true;
}

bool CopyStages::openNew(RowWork& work, const std::string& target, bool& exists) {
    if (plan_.ownCopy) {
        work.out = app_.fs.createNew(target, exists);  // the create is the existence check
        if (work.out) work.place = NewPlacement(target);
    } else {
        exists = app_.fs.exists(target);
        if (!exists) work.place = NewPlacement(target);
    }
    return work.place.has_value();
}

bool CopyStages::replaceExisting(RowWork& work, Source& source, const std::string& target, const FileInfo& there) {
    if (SameFile(app_.fs, work.row->source, source.identity(), target, there)) {
        work.result = CopyResult{false, kSameFileText};
        return false;
    }
    if (LooksIdentical(source.info.size, source.info.writeTime, there)) {
        const bool same = holdsSame(work, target);
        if (!goingOn()) return false;
        if (same) {
            work.unchanged = true;
            work.result = CopyResult{true, plan_.verify ? kCopyVerifiedText
                                                        : (plan_.ownCopy ? kCopyUnverifiedText : kShellCopiedText)};
            return false;
        }
    }
    if (overwriteAll_) return *overwriteAll_;
    const OverwriteAnswer answer =
        app_.ui.askOverwrite(target + "\r\n已存在！ 覆盖吗？", "文件已存在！",
                             OverwriteDetails(app_, source.info.size, source.info.writeTime, there));
    // A question closed by Cancel answers nothing for the rest.
    if (answer.forRest && goingOn()) overwriteAll_ = answer.overwrite;
    return answer.overwrite;
}

bool CopyStages::holdsSame(RowWork& work, const std::string& target) {
    if (!plan_.verify) return true;
    const std::string source = FileDigest(app_.fs, work.row->source, ReadMode::Cached, countFor(work), stopper());
    return !source.empty() && FileDigest(app_.fs, target, ReadMode::Uncached, countFor(work), stopper()) == source;
}

std::optional<Placement> CopyStages::placeReplacement(std::int64_t bytes, const std::string& target, const FileInfo& there) {
    std::optional<Placement> place = ReplacePlacement(app_.fs, bytes, target, there);
    if (place && place->kind == PlaceKind::Temporary) return place;
    finisher_.drain();
    return ReplacePlacement(app_.fs, bytes, target, there);
}

#include "copyengine/copyloop.h"

#include <atomic>
#include <map>
#include <optional>
#include <vector>

#include "app/app.h"
#include "copyengine/copymethods.h"
#include "copyengine/destinations.h"
#include "copyengine/existing.h"
#include "copyengine/handoff.h"
#include "copyengine/jobevents.h"
#include "copyengine/jobreport.h"
#include "copyengine/jobui.h"
#include "copyengine/placement.h"
#include "copyengine/room.h"
#include "paths/paths.h"
#include "text/number.h"

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

// A row between the stages: written by the first, checked and put in place by the second.
struct RowWork {
    int index = 0;
    const JobRow* row = nullptr;
    std::optional<CopyResult> result;  // none: skipped, or stopped part-way
    std::optional<Placement> place;    // where the bytes went, once some were written
    std::unique_ptr<File> out;         // the copy, open until it is settled
    FileInfo source;                   // as its copy read it: deleted only while it still is that file
    std::string digest;                // the source's, when the copy is still to be checked
    std::int64_t counted = 0;          // bytes of work the meter was given for it
    int sameAs = -1;                   // an earlier row of the same file: this one takes its outcome
    bool unchanged = false;            // the player already holds this file
};

// The source as the copy needs it: open for method 1, looked at for method 2.
struct Source {
    std::unique_ptr<File> file;
    FileInfo info;
};

using Finisher = Handoff<RowWork>;
Finisher::Mode StagesMode(App& app, const JobPlan& plan) {
    if (!plan.verify || !plan.ownCopy) return Finisher::Mode::AtOnce;
    return app.sys.realThreads() ? Finisher::Mode::Thread : Finisher::Mode::OneBehind;
}

// The job's two stages. Verifying with method 1, the second (read-back, placement, the
// row's result, the source's deletion) runs on a thread of its own while the first copies
// the next row; otherwise both run on the job's thread, one row after the other. Cancel
// stops the copy or check in progress; the rows in hand are abandoned and stay listed.
class CopyStages {
public:
    CopyStages(App& app, JobEvents& events, const JobPlan& plan)
        : app_(app), events_(events), plan_(plan), places_(app.fs), feed_(app, events),
          outcomes_(plan.rows.size()), finisher_(StagesMode(app, plan), [this](RowWork& work) { finish(work); }) {}

    void run() {
        for (int i = 0; i < static_cast<int>(plan_.rows.size()); ++i) {
            if (!plan_.ownCopy) app_.ui.pumpEvents();  // lets Cancel in between files
            if (!goingOn()) break;
            finisher_.give(copy(i));
        }
        finisher_.finish();
    }
    int copied() const { return copied_; }
    const JobTally& tally() const { return tally_; }

private:
    bool goingOn() const { return app_.copyBusy != 0 && !ended_; }
    CopyWorkFn countFor(RowWork& work) {
        return [this, &work](std::int64_t bytes) {
            work.counted += bytes;
            feed_.add(bytes);
        };
    }
    StopFn stopper() const {
        return [this] { return !goingOn(); };
    }
    StopFn stopFor(const Placement& place) const { return place.stoppable() ? stopper() : StopFn{}; }

    Source openSource(const std::string& path) {
        Source source;
        if (!plan_.ownCopy) {
            source.info = app_.fs.fileInfo(path);
            return source;
        }
        source.file = app_.fs.openRead(path);
        if (source.file) source.info = source.file->info();
        return source;
    }

    // First stage: the row's bytes written to its target.
    RowWork copy(int i) {
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
        if (target != dest && SameFile(app_.fs, row.source, source.info.identity, dest, app_.fs.fileInfo(dest))) {
            work.result = CopyResult{false, kSameFileText};
            return work;
        }
        // Whatever happens there, the name is this row's: a later file of the job takes the
        // next one rather than ask again about a file the user chose to keep.
        const bool writing = open(work, source, target);
        places_.note(target);
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
        if (work.result && !work.result->ok && RanOutOfRoom(work.place->target, source.info.size)) {
            work.result->text = kPlayerFullText;
            full_ = true;
        }
        return work;
    }

    // A copy that failed where the player has no room for the rest of it.
    bool RanOutOfRoom(const std::string& target, std::int64_t bytes) {
        const DriveSpace space = RootSpace(app_.fs, plan_.root);
        const std::int64_t written = std::max<std::int64_t>(app_.fs.fileInfo(target).size, 0);
        return space.freeBytes >= 0 &&
               ClusterRound(bytes, space.clusterBytes) - ClusterRound(written, space.clusterBytes) > space.freeBytes;
    }

    // After a copy met a full player, the job goes on only with a row that still fits once
    // the copies in hand are settled; otherwise it stops with one warning.
    bool stillFits(const JobRow& row) {
        finisher_.drain();
        const DriveSpace space = RootSpace(app_.fs, plan_.root);
        full_ = space.freeBytes >= 0 && RowRoom(app_, plan_, row, space.clusterBytes) > space.freeBytes;
        if (!full_) return true;
        ended_ = true;
        Warn(app_, events_, "目标磁盘 " + plan_.root + " 已满，复制已停止！");
        return false;
    }

    // Where the copy goes, opened for writing; false when nothing is to be written: the
    // file is already there, the user keeps the old one, the job stops, or the target
    // cannot be opened or has no room.
    bool open(RowWork& work, Source& source, const std::string& target) {
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
            work.result = CopyResult{false, kPlayerFullText};
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

    // A new file at target: created hidden (method 1), or found free for the shell.
    bool openNew(RowWork& work, const std::string& target, bool& exists) {
        if (plan_.ownCopy) {
            work.out = app_.fs.createNew(target, exists);  // the create is the existence check
            if (work.out) work.place = NewPlacement(target);
        } else {
            exists = app_.fs.exists(target);
            if (!exists) work.place = NewPlacement(target);
        }
        return work.place.has_value();
    }

    // A file already at the target: true when it is to be replaced.
    bool replaceExisting(RowWork& work, Source& source, const std::string& target, const FileInfo& there) {
        if (SameFile(app_.fs, work.row->source, source.info.identity, target, there)) {
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

    // With verification, a file that looks the same is also compared by digest, read
    // back from the device.
    bool holdsSame(RowWork& work, const std::string& target) {
        if (!plan_.verify) return true;
        const std::string source = FileDigest(app_.fs, work.row->source, ReadMode::Cached, countFor(work), stopper());
        return !source.empty() && FileDigest(app_.fs, target, ReadMode::Uncached, countFor(work), stopper()) == source;
    }

    // A copy that replaces a file goes beside it while the drive has room. Copies still
    // waiting for their check hold room that their placing frees, so ask again once
    // they are settled before writing over the old file.
    std::optional<Placement> placeReplacement(std::int64_t bytes, const std::string& target, const FileInfo& there) {
        std::optional<Placement> place = ReplacePlacement(app_.fs, bytes, target, there);
        if (place && place->kind == PlaceKind::Temporary) return place;
        finisher_.drain();
        return ReplacePlacement(app_.fs, bytes, target, there);
    }

    // Second stage: the copy checked and put in place; the row's result; the source's deletion.
    // Rows in hand when the job stops (Cancel, an unplugged player) are abandoned.
    void finish(RowWork& work) {
        if (work.sameAs >= 0) return finishRepeat(work);
        std::optional<CopyResult>& result = work.result;
        if (result && result->ok && !work.digest.empty())
            result = CheckCopy(app_.fs, work.place->target, work.digest, countFor(work), stopFor(*work.place));
        const bool abandoned = !goingOn() && (!work.place || work.place->stoppable());
        if (work.place) {
            const CopyResult settled = SettleCopy(app_.fs, *work.place, std::move(work.out),
                                                  result && !abandoned ? *result : CopyResult{}, work.source.writeTime);
            if (result) result = settled;
        }
        if (abandoned) result.reset();
        if (result && result->ok && plan_.deleteSource &&
            DeleteSource(app_, events_, work.row->source, work.source) == DeleteOutcome::Changed)
            result = CopyResult{false, kSourceChangedSinceText};
        const bool gone = result && !result->ok && !FolderExists(app_.fs, plan_.root);
        if (gone) result->text = kPlayerGoneText;
        outcomes_[work.index] = result;
        if (result) ReportRow(app_, events_, work.index, work.row->source, *result);
        if (gone) {
            ended_ = true;  // the player is gone: one warning, and the job ends
            Warn(app_, events_, "目标磁盘 " + plan_.root + " 已不存在，复制已停止！");
            app_.sys.sleepMs(1000);
        }
        if (result && result->ok) {
            ++copied_;
            if (work.unchanged) {
                ++tally_.unchanged;
                tally_.unchangedBytes += work.source.size;
            }
        }
        if (result && (result->text == kNoRoomText || result->text == kPlayerFullText)) ++tally_.noRoom;
        endRow(work);
    }

    // A row of a file listed before: its outcome is that row's.
    void finishRepeat(RowWork& work) {
        const std::optional<CopyResult>& result = outcomes_[work.sameAs];
        if (result && goingOn()) {
            ReportRow(app_, events_, work.index, work.row->source, *result);
            if (result->ok) ++copied_;
        }
        endRow(work);
    }

    void endRow(RowWork& work) {
        feed_.endRow(plan_.work(*work.row), work.counted);
        events_.latest(JobEvents::Slot::Overall,
                       [&app = app_, i = work.index] { app.ui.setProgressPos(Ctl::进度条1, i + 1); });
    }

    App& app_;
    JobEvents& events_;
    const JobPlan& plan_;
    JobDestinations places_;
    MeterFeed feed_;
    std::atomic<bool> ended_{false};  // the player is gone or full
    bool full_ = false;                // the first stage's: a copy met a full player
    std::map<std::string, int> sources_;  // the first stage's: each source's first row, by name key
    std::optional<bool> overwriteAll_;     // the answer for the rest of the job, once given
    // The second stage's.
    std::vector<std::optional<CopyResult>> outcomes_;
    int copied_ = 0;
    JobTally tally_;
    Finisher finisher_;
};

}  // namespace

void RunCopyJob(App& app, JobEvents& events, const JobPlan& plan) {
    const std::uint64_t t0 = app.sys.tickMs();
    CopyStages stages(app, events, plan);
    stages.run();
    const bool cancelled = app.copyBusy == 0;
    const std::string summary = "共" + std::to_string(plan.rows.size()) + "个,成功复制" +
                                std::to_string(stages.copied()) + "个,耗时" +
                                FormatNumber((app.sys.tickMs() - t0) / 1000.0) + "秒" + (cancelled ? "，已取消" : "");
    events.send([&app, summary, tally = stages.tally()] { EndCopyJob(app, summary, tally); });
}

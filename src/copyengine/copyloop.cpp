#include "copyengine/copyloop.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <map>
#include <set>
#include <vector>

#include "app/app.h"
#include "copyengine/copymethods.h"
#include "copyengine/existing.h"
#include "copyengine/handoff.h"
#include "copyengine/jobevents.h"
#include "copyengine/jobstate.h"
#include "copyengine/jobui.h"
#include "paths/paths.h"
#include "copyengine/placement.h"
#include "text/gbk.h"
#include "text/number.h"
#include "tray/tray.h"

namespace {

constexpr char kFolderUnmadeText[] = "无法创建目标目录，复制失败!";
constexpr char kUnsafeRuleText[] = "规则的目标路径不在复制根目录下，复制失败!";
constexpr std::int64_t kFatLargest = (1LL << 32) - 1;

// The folder and any missing folders above it; the target root itself must exist.
bool MakeFolder(FileSystem& fs, const std::string& folder) {
    if (FolderExists(fs, folder)) return true;
    std::string path = folder;
    if (EndsWithGbk(path, '\\')) path.pop_back();
    const std::string parent = GetFolderPart(path);
    return path.size() > 3 && !parent.empty() && MakeFolder(fs, parent) && fs.createFolder(path);
}

// Names this job has written (a later file of the same name never replaces one of them)
// and the folders it has found or made.
class JobDestinations {
public:
    explicit JobDestinations(FileSystem& fs) : fs_(fs) {}
    // dest itself, or the first free "name (k).ext" beside it once this job wrote dest.
    std::string claim(const std::string& dest) const {
        if (!written(dest)) return dest;
        for (int k = 2;; ++k) {
            const std::string other = NumberedName(dest, k);
            if (!written(other) && !fs_.exists(other)) return other;
        }
    }
    void note(const std::string& dest) { written_.insert(fs_.nameKey(dest)); }
    // The folder is there (made if need be); each folder is looked at once a job.
    bool haveFolder(const std::string& folder) {
        if (folders_.count(folder)) return true;
        if (!MakeFolder(fs_, folder)) return false;
        folders_.insert(folder);
        return true;
    }

private:
    bool written(const std::string& path) const { return written_.count(fs_.nameKey(path)) > 0; }
    FileSystem& fs_;
    std::set<std::string> written_;
    std::set<std::string> folders_;
};

// The worker's side of the progress line: both stages count the work and, at most four
// times a second, have the main thread show it.
class MeterFeed {
public:
    MeterFeed(App& app, JobEvents& events) : app_(app), events_(events), meter_(JobState(app).meter) {}
    void add(std::int64_t bytes) {
        meter_.add(bytes);
        tick();
    }
    void endRow(std::int64_t work, std::int64_t counted) {
        meter_.endRow(work, counted);
        tick();
    }

private:
    void tick() {
        std::lock_guard lock(mutex_);
        const std::uint64_t now = app_.sys.tickMs();
        if (shown_ && now - last_ < 250) return;
        shown_ = true;
        last_ = now;
        events_.latest(JobEvents::Slot::Meter, [&app = app_] { ShowProgressLine(app); });
    }
    App& app_;
    JobEvents& events_;
    JobMeter& meter_;
    std::mutex mutex_;
    bool shown_ = false;
    std::uint64_t last_ = 0;
};

// A later row's announcement or this row's outcome replaces what the main thread has not
// shown yet, so a row copied between two batches shows only its outcome.
void AnnounceRow(App& app, JobEvents& events, int row, const std::string& source) {
    const std::string text = "正在复制 " + source + " 请稍候...      ";
    events.latest(JobEvents::Slot::Selection, [&app, row] { app.ui.selectRow(Ctl::超级列表框, row); });
    events.latest(JobEvents::Slot::Row, [&app, row] { app.ui.setRowImage(Ctl::超级列表框, row, 6); }, row);
    events.latest(JobEvents::Slot::Status, [&app, text] { ShowJobStatus(app, text, 1); });
    // Through the coalesced steps, so a file too small for a step shows 0, never the last 100 %.
    events.progress(0, [&app](int step) { ShowCopyStep(app, Ctl::进度条2, {}, {}, step); });
}

void Warn(App& app, JobEvents& events, const std::string& text) {
    events.send([&app, text] { ShowTrayBalloon(app, kProgramTitle, text, 2); });
}

// The outcome's status, an error balloon too, gives way to the next row's announcement
// (the balloon shows the file being worked on); a failed row shows its cross at once, so
// its tip tells why while the job goes on.
void ReportRow(App& app, JobEvents& events, int row, const std::string& source, const CopyResult& result) {
    events.latest(JobEvents::Slot::Status, [&app, result] { ShowJobStatus(app, result.text, result.ok ? 1 : 3); });
    events.latest(JobEvents::Slot::Row, [&app, row, source, result] {
        app.ui.setRowMark(Ctl::超级列表框, row, result.ok ? 2 : 1);
        app.ui.setRowImage(Ctl::超级列表框, row, result.ok ? 7 : kFailedImage);
        CopyJobState& job = JobState(app);
        job.copied[row] = result.ok;
        if (result.ok) app.failureReasons.erase(source);
        else app.failureReasons[source] = result.text;
    }, row);
}

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
    std::int64_t writeTime = -1;       // the source's, for the copy
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

// The job's two stages. Verifying with method 1, the second (read-back, placement, the
// row's result, the source's deletion) runs on a thread of its own while the first copies
// the next row; otherwise both run on the job's thread, one row after the other. Cancel
// stops the copy or check in progress; the rows in hand are abandoned and stay listed.
class CopyStages {
public:
    CopyStages(App& app, JobEvents& events, const JobPlan& plan)
        : app_(app), events_(events), plan_(plan), places_(app.fs), feed_(app, events),
          outcomes_(plan.rows.size()),
          finisher_(plan.verify && plan.ownCopy, [this](RowWork& work) { finish(work); }) {}

    void run() {
        for (int i = 0; i < static_cast<int>(plan_.rows.size()); ++i) {
            if (!plan_.ownCopy) app_.ui.pumpEvents();  // lets Cancel in between files
            if (!goingOn()) break;
            finisher_.give(copy(i));
        }
        finisher_.finish();
    }
    int copied() const { return copied_; }
    int unchanged() const { return unchanged_; }

private:
    bool goingOn() const { return app_.copyBusy != 0 && !unplugged_; }
    CopyWorkFn countFor(RowWork& work) {
        return [this, &work](std::int64_t bytes) {
            work.counted += bytes;
            feed_.add(bytes);
        };
    }
    StopFn stopFor(const Placement& place) const {
        if (!place.stoppable()) return {};
        return [this] { return !goingOn(); };
    }

    Source openSource(const std::string& path) {
        Source source;
        if (!plan_.ownCopy) {
            source.info = app_.fs.fileInfo(path);
            return source;
        }
        source.file = app_.fs.openRead(path);
        if (source.file) source.info = {source.file->size(), source.file->writeTime(), ""};
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
        const std::string dest = BuildDestinationPath(plan_.root, row.subPath, row.source);
        std::string refusal = NameRefusal(row.source);
        if (refusal.empty() && dest.empty()) refusal = kUnsafeRuleText;
        Source source = refusal.empty() ? openSource(row.source) : Source{};  // a device is never opened
        work.writeTime = source.info.writeTime;
        if (refusal.empty() && plan_.ownCopy && !source.file) refusal = kSourceUnreadableText;
        if (refusal.empty()) refusal = Refusal(plan_, source.info.size, GetFolderPart(dest), places_);
        if (!refusal.empty()) {
            work.result = CopyResult{false, refusal};
            return work;
        }
        const std::string target = places_.claim(dest);
        const bool writing = open(work, source, target);
        if (writing || work.unchanged) places_.note(target);
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
        return work;
    }

    // Where the copy goes, opened for writing; false when nothing is to be written: the
    // file is already there, the user keeps the old one, or the target cannot be opened.
    bool open(RowWork& work, Source& source, const std::string& target) {
        bool exists = false;
        if (plan_.ownCopy) {
            work.out = app_.fs.createNew(target, exists);  // the create is the existence check
            if (work.out) work.place = NewPlacement(target);
        } else {
            exists = app_.fs.exists(target);
            if (!exists) work.place = NewPlacement(target);
        }
        if (!exists) {
            if (!work.place) work.result = CopyResult{false, kDestUnwritableText};
            return work.place.has_value();
        }
        if (!replaceExisting(work, source, target)) return false;
        work.place = placeReplacement(source.info.size, target);
        if (plan_.ownCopy) work.out = OpenTarget(app_.fs, *work.place);
        if (plan_.ownCopy && !work.out) work.result = CopyResult{false, kDestUnwritableText};
        return !plan_.ownCopy || work.out;
    }

    // A file already at the target: true when it is to be replaced.
    bool replaceExisting(RowWork& work, Source& source, const std::string& target) {
        const FileInfo there = app_.fs.fileInfo(target);
        const std::string identity = source.file ? source.file->identity() : source.info.identity;
        if (SameFile(app_.fs, work.row->source, identity, target, there)) {
            work.result = CopyResult{false, kSameFileText};
            return false;
        }
        if (LooksIdentical(source.info.size, source.info.writeTime, there) && holdsSame(work, target)) {
            work.unchanged = true;
            work.result = CopyResult{true, plan_.verify ? kCopyVerifiedText
                                                        : (plan_.ownCopy ? kCopyUnverifiedText : kShellCopiedText)};
            return false;
        }
        if (overwriteAll_) return *overwriteAll_;
        const OverwriteAnswer answer =
            app_.ui.askOverwrite(target + "\r\n已存在！ 覆盖吗？取消将会跳过！", "文件已存在！",
                                 OverwriteDetails(app_, source.info.size, source.info.writeTime, there));
        if (answer.forRest) overwriteAll_ = answer.overwrite;
        return answer.overwrite;
    }

    // With verification, a file that looks the same is also compared by digest, read
    // back from the device.
    bool holdsSame(RowWork& work, const std::string& target) {
        if (!plan_.verify) return true;
        const std::string source = FileDigest(app_.fs, work.row->source, ReadMode::Cached, countFor(work));
        return !source.empty() && FileDigest(app_.fs, target, ReadMode::Uncached, countFor(work)) == source;
    }

    // A copy that replaces a file goes beside it while the drive has room. Copies still
    // waiting for their check hold room that their placing frees, so ask again once
    // they are settled before writing over the old file.
    Placement placeReplacement(std::int64_t bytes, const std::string& target) {
        Placement place = ReplacePlacement(app_.fs, bytes, target);
        if (place.kind != PlaceKind::InPlace) return place;
        finisher_.drain();
        return ReplacePlacement(app_.fs, bytes, target);
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
                                                  result && !abandoned ? *result : CopyResult{}, work.writeTime);
            if (result) result = settled;
        }
        if (abandoned) result.reset();
        outcomes_[work.index] = result;
        const JobRow& row = *work.row;
        if (result) ReportRow(app_, events_, work.index, row.source, *result);
        if (result && result->ok) {
            ++copied_;
            if (work.unchanged) ++unchanged_;
            if (plan_.deleteSource) DeleteSource(app_, events_, row.source);
        }
        endRow(work);
        if (result && !result->ok && !FolderExists(app_.fs, plan_.root)) {
            unplugged_ = true;  // the player is gone: one warning, and the job ends
            Warn(app_, events_, "目标磁盘 " + plan_.root + " 已不存在，复制已停止！");
            app_.sys.sleepMs(1000);
        }
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
    std::atomic<bool> unplugged_{false};
    std::map<std::string, int> sources_;  // the first stage's: each source's first row
    std::optional<bool> overwriteAll_;     // the answer for the rest of the job, once given
    // The second stage's.
    std::vector<std::optional<CopyResult>> outcomes_;
    int copied_ = 0;
    int unchanged_ = 0;
    Handoff<RowWork> finisher_;
};

}  // namespace

void RunCopyJob(App& app, JobEvents& events, const JobPlan& plan) {
    const std::uint64_t t0 = app.sys.tickMs();
    CopyStages stages(app, events, plan);
    stages.run();
    const std::string summary = "共" + std::to_string(plan.rows.size()) + "个,成功复制" +
                                std::to_string(stages.copied()) + "个,耗时" +
                                FormatNumber((app.sys.tickMs() - t0) / 1000.0) + "秒";
    events.send([&app, summary, unchanged = stages.unchanged()] { EndCopyJob(app, summary, unchanged); });
}

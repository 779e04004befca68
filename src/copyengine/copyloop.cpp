#include "copyengine/copyloop.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <set>

#include "app/app.h"
#include "copyengine/copymethods.h"
#include "copyengine/handoff.h"
#include "copyengine/jobevents.h"
#include "copyengine/jobstate.h"
#include "copyengine/jobui.h"
#include "copyengine/paths.h"
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
    void note(const std::string& dest) { written_.insert(LowerAsciiGbk(dest)); }
    // The folder is there (made if need be); each folder is looked at once a job.
    bool haveFolder(const std::string& folder) {
        if (folders_.count(folder)) return true;
        if (!MakeFolder(fs_, folder)) return false;
        folders_.insert(folder);
        return true;
    }

private:
    bool written(const std::string& path) const { return written_.count(LowerAsciiGbk(path)) > 0; }
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
        if (result.ok) job.reasons.erase(source);
        else job.reasons[source] = result.text;
    }, row);
}

// Only the worker waits on the question when the job runs there.
bool UserSkipsExisting(App& app, const std::string& dest) {
    const std::string text = dest + "\r\n已存在！ 覆盖吗？取消将会跳过！";
    return !app.ui.askOverwrite(text, "文件已存在！", "").overwrite;
}

// Why a row cannot be copied before a byte is written, or "".
std::string Refusal(App& app, const JobPlan& plan, const std::string& source, const std::string& folder,
                    JobDestinations& places) {
    if (plan.fatTarget && app.fs.fileSize(source) > kFatLargest) return kTooLargeForFatText;
    if (!places.haveFolder(folder)) return kFolderUnmadeText;
    return "";
}

// A row between the stages: written by the first, checked and put in place by the second.
struct RowWork {
    int index = 0;
    const JobRow* row = nullptr;
    std::optional<CopyResult> result;  // none: the user kept the file already there
    std::optional<Placement> place;    // where the bytes went, once some were written
    std::string digest;                // the source's, when the copy is still to be checked
    std::int64_t counted = 0;          // bytes of work the meter was given for it
};

// The job's two stages. Verifying with method 1, the second (read-back, placement, the
// row's result, the source's deletion) runs on a thread of its own while the first copies
// the next row; otherwise both run on the job's thread, one row after the other. Cancel
// lets the rows in hand finish, as a job without the second thread would.
class CopyStages {
public:
    CopyStages(App& app, JobEvents& events, const JobPlan& plan)
        : app_(app), events_(events), plan_(plan), places_(app.fs), feed_(app, events),
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

private:
    bool goingOn() const { return app_.copyBusy != 0 && !unplugged_; }
    CopyWorkFn countFor(RowWork& work) {
        return [this, &work](std::int64_t bytes) {
            work.counted += bytes;
            feed_.add(bytes);
        };
    }

    // First stage: the row's bytes written to its target.
    RowWork copy(int i) {
        const JobRow& row = plan_.rows[i];
        RowWork work{i, &row, {}, {}, {}};
        AnnounceRow(app_, events_, i, row.source);
        const std::string dest = BuildDestinationPath(plan_.root, row.subPath, row.source);
        const std::string refusal = dest.empty() ? kUnsafeRuleText
                                                 : Refusal(app_, plan_, row.source, GetFolderPart(dest), places_);
        if (!refusal.empty()) {
            work.result = CopyResult{false, refusal};
            return work;
        }
        const std::string target = places_.claim(dest);
        const bool existed = app_.fs.exists(target);
        if (existed && UserSkipsExisting(app_, target)) return work;
        work.place = PlaceCopy(app_.fs, row.source, target, existed);
        places_.note(target);
        if (plan_.ownCopy) {
            WrittenCopy written = WriteWithProgress(app_, events_, row.source, work.place->target, Ctl::进度条2,
                                                    plan_.verify, work.place->mode, countFor(work));
            work.result = written.result;
            work.digest = std::move(written.digest);
        } else {
            work.result = CopyWithShell(app_, row.source, work.place->target, plan_.verify, work.place->mode);
        }
        return work;
    }

    // Second stage: the copy checked and put in place; the row's result; the source's deletion.
    // Rows copied after the player went are not reached.
    void finish(RowWork& work) {
        std::optional<CopyResult>& result = work.result;
        if (result && result->ok && !work.digest.empty())
            result = CheckCopy(app_.fs, work.place->target, work.digest, countFor(work));
        if (result && work.place) result = SettleCopy(app_.fs, *work.place, unplugged_ ? CopyResult{} : *result);
        if (unplugged_) result.reset();
        const JobRow& row = *work.row;
        if (result) ReportRow(app_, events_, work.index, row.source, *result);
        if (result && result->ok) {
            ++copied_;
            if (plan_.deleteSource) DeleteSource(app_, events_, row.source);
        }
        feed_.endRow(plan_.work(row), work.counted);
        events_.latest(JobEvents::Slot::Overall,
                       [&app = app_, i = work.index] { app.ui.setProgressPos(Ctl::进度条1, i + 1); });
        if (result && !result->ok && !FolderExists(app_.fs, plan_.root)) {
            unplugged_ = true;  // the player is gone: one warning, and the job ends
            Warn(app_, events_, "目标磁盘 " + plan_.root + " 已不存在，复制已停止！");
            app_.sys.sleepMs(1000);
        }
    }

    App& app_;
    JobEvents& events_;
    const JobPlan& plan_;
    JobDestinations places_;
    MeterFeed feed_;
    std::atomic<bool> unplugged_{false};
    int copied_ = 0;  // the second stage's
    Handoff<RowWork> finisher_;
};

}  // namespace

bool IsFatFormat(const std::string& format) { return format.starts_with("FAT"); }

void RunCopyJob(App& app, JobEvents& events, const JobPlan& plan) {
    const std::uint64_t t0 = app.sys.tickMs();
    CopyStages stages(app, events, plan);
    stages.run();
    const std::string summary = "共" + std::to_string(plan.rows.size()) + "个,成功复制" +
                                std::to_string(stages.copied()) + "个,耗时" +
                                FormatNumber((app.sys.tickMs() - t0) / 1000.0) + "秒";
    events.send([&app, summary] { EndCopyJob(app, summary); });
}

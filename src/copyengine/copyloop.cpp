#include "copyengine/copyloop.h"

#include <optional>
#include <set>

#include "app/app.h"
#include "copyengine/copymethods.h"
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

// The worker's side of the progress line: it counts the work and, at most four times a
// second, has the main thread show it.
class MeterFeed {
public:
    MeterFeed(App& app, JobEvents& events) : app_(app), events_(events), meter_(JobState(app).meter) {}
    void add(std::int64_t bytes) {
        meter_.add(bytes);
        tick();
    }
    void endRow(std::int64_t work) {
        meter_.endRow(work);
        tick();
    }

private:
    void tick() {
        const std::uint64_t now = app_.sys.tickMs();
        if (shown_ && now - last_ < 250) return;
        shown_ = true;
        last_ = now;
        events_.send([&app = app_] { ShowProgressLine(app); });
    }
    App& app_;
    JobEvents& events_;
    JobMeter& meter_;
    bool shown_ = false;
    std::uint64_t last_ = 0;
};

void AnnounceRow(App& app, JobEvents& events, int row, const std::string& source) {
    const std::string text = "正在复制 " + source + " 请稍候...      ";
    events.send([&app, row, text] {
        app.ui.selectRow(Ctl::超级列表框, row);
        app.ui.setRowImage(Ctl::超级列表框, row, 6);
        ShowJobStatus(app, text, 1);
    });
    // Through the coalesced steps, so a file too small for a step shows 0, never the last 100 %.
    events.progress(0, [&app](int step) { ShowCopyStep(app, Ctl::进度条2, {}, {}, step); });
}

void Warn(App& app, JobEvents& events, const std::string& text) {
    events.send([&app, text] { ShowTrayBalloon(app, kProgramTitle, text, 2); });
}

void ReportRow(App& app, JobEvents& events, int row, const std::string& source, const CopyResult& result) {
    events.send([&app, row, source, result] {
        ShowJobStatus(app, result.text, result.ok ? 1 : 3);
        app.ui.setRowMark(Ctl::超级列表框, row, result.ok ? 2 : 1);
        CopyJobState& job = JobState(app);
        job.copied[row] = result.ok;
        if (result.ok) {
            app.ui.setRowImage(Ctl::超级列表框, row, 7);
            job.reasons.erase(source);
        } else {
            job.reasons[source] = result.text;
        }
    });
}

// Only the worker waits on the question when the job runs there.
bool UserSkipsExisting(App& app, const std::string& dest) {
    const std::string text = dest + "\r\n已存在！ 覆盖吗？取消将会跳过！";
    return app.ui.messageBox(text, "文件已存在！", mb::OkCancel | mb::IconQuestion) == mb::IdCancel;
}

// Why a row cannot be copied before a byte is written, or "".
std::string Refusal(App& app, const JobPlan& plan, const std::string& source, const std::string& folder,
                    JobDestinations& places) {
    if (plan.fatTarget && app.fs.fileSize(source) > kFatLargest) return kTooLargeForFatText;
    if (!places.haveFolder(folder)) return kFolderUnmadeText;
    return "";
}

// One row's copy; none when the user chose to keep the file already there.
std::optional<CopyResult> CopyOneRow(App& app, JobEvents& events, MeterFeed& feed, const JobPlan& plan,
                                     const JobRow& row, JobDestinations& written) {
    const std::string dest = BuildDestinationPath(plan.root, row.subPath, row.source);
    if (dest.empty()) return CopyResult{false, kUnsafeRuleText};
    if (const std::string refusal = Refusal(app, plan, row.source, GetFolderPart(dest), written); !refusal.empty())
        return CopyResult{false, refusal};
    const std::string target = written.claim(dest);
    const bool existed = app.fs.exists(target);
    if (existed && UserSkipsExisting(app, target)) return std::nullopt;
    const auto work = [&feed](std::int64_t bytes) { feed.add(bytes); };
    const CopyResult result = PlaceCopy(app.fs, row.source, target, existed, [&](const std::string& to, WriteMode mode) {
        return plan.ownCopy ? CopyFileWithProgress(app, events, row.source, to, Ctl::进度条2, plan.verify, mode, work)
                            : CopyWithShell(app, row.source, to, plan.verify, mode);
    });
    if (result.ok) written.note(target);
    return result;
}

}  // namespace

bool IsFatFormat(const std::string& format) { return format.starts_with("FAT"); }

void RunCopyJob(App& app, JobEvents& events, const JobPlan& plan) {
    const std::uint64_t t0 = app.sys.tickMs();
    const int n = static_cast<int>(plan.rows.size());
    JobDestinations written(app.fs);
    MeterFeed feed(app, events);
    int ok = 0;
    for (int i = 0; i < n; ++i) {
        if (!plan.ownCopy) app.ui.pumpEvents();  // lets Cancel in between files
        if (app.copyBusy == 0) break;
        const JobRow& row = plan.rows[i];
        AnnounceRow(app, events, i, row.source);
        const auto result = CopyOneRow(app, events, feed, plan, row, written);
        if (result) ReportRow(app, events, i, row.source, *result);
        if (result && result->ok) {
            ++ok;
            if (plan.deleteSource) DeleteSource(app, events, row.source);
        }
        feed.endRow(plan.work(row));
        events.send([&app, i] { app.ui.setProgressPos(Ctl::进度条1, i + 1); });
        if (result && !result->ok && !FolderExists(app.fs, plan.root)) {  // the player was unplugged
            Warn(app, events, "目标磁盘 " + plan.root + " 已不存在，复制已停止！");
            app.sys.sleepMs(1000);
            break;
        }
    }
    const std::string summary = "共" + std::to_string(n) + "个,成功复制" + std::to_string(ok) +
                                "个,耗时" + FormatNumber((app.sys.tickMs() - t0) / 1000.0) + "秒";
    events.send([&app, summary] { EndCopyJob(app, summary); });
}

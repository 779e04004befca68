#include "copyengine/copyloop.h"

#include <set>

#include "app/app.h"
#include "copyengine/copymethods.h"
#include "copyengine/jobevents.h"
#include "copyengine/jobstate.h"
#include "copyengine/jobui.h"
#include "copyengine/paths.h"
#include "text/gbk.h"
#include "text/number.h"
#include "tray/tray.h"

namespace {

constexpr char kFolderUnmadeText[] = "无法创建目标目录，复制失败!";

// Names this job has written: a later file of the same name never replaces one of them.
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
    void noteAttempt(const std::string& dest) {
        if (fs_.exists(dest)) written_.insert(LowerAsciiGbk(dest));
    }

private:
    bool written(const std::string& path) const { return written_.count(LowerAsciiGbk(path)) > 0; }
    FileSystem& fs_;
    std::set<std::string> written_;
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

void ReportRow(App& app, JobEvents& events, int row, const CopyResult& result) {
    events.send([&app, row, result] {
        ShowJobStatus(app, result.text, result.ok ? 1 : 3);
        app.ui.setRowMark(Ctl::超级列表框, row, result.ok ? 2 : 1);
        if (!result.ok) return;
        app.ui.setRowImage(Ctl::超级列表框, row, 7);
        JobState(app).copied[row] = true;
    });
}

// Only the worker waits on the question when the job runs there.
bool UserSkipsExisting(App& app, const std::string& dest) {
    if (!app.fs.exists(dest)) return false;
    const std::string text = dest + "\r\n已存在！ 覆盖吗？取消将会跳过！";
    return app.ui.messageBox(text, "文件已存在！", mb::OkCancel | mb::IconQuestion) == mb::IdCancel;
}

// Copies one row and reports it; true when the copy succeeded.
bool CopyRow(App& app, JobEvents& events, const JobPlan& plan, int row, const std::string& dest) {
    const std::string& source = plan.rows[row].source;
    const CopyResult result = plan.ownCopy
        ? CopyFileWithProgress(app, events, source, dest, Ctl::进度条2, plan.verify)
        : CopyWithShell(app, source, dest, plan.verify);
    ReportRow(app, events, row, result);
    if (result.ok && plan.deleteSource) DeleteSource(app, events, source);
    return result.ok;
}

// The folder and any missing folders above it; the target root itself must exist.
bool MakeFolder(FileSystem& fs, const std::string& folder) {
    if (FolderExists(fs, folder)) return true;
    std::string path = folder;
    if (EndsWithGbk(path, '\\')) path.pop_back();
    const std::string parent = GetFolderPart(path);
    return path.size() > 3 && !parent.empty() && MakeFolder(fs, parent) && fs.createFolder(path);
}

}  // namespace

void RunCopyJob(App& app, JobEvents& events, const JobPlan& plan) {
    const std::uint64_t t0 = app.sys.tickMs();
    const int n = static_cast<int>(plan.rows.size());
    JobDestinations written(app.fs);
    int ok = 0;
    for (int i = 0; i < n; ++i) {
        if (!plan.ownCopy) app.ui.pumpEvents();  // lets Cancel in between files
        if (app.copyBusy == 0) break;
        const JobRow& row = plan.rows[i];
        AnnounceRow(app, events, i, row.source);
        std::string dest = BuildDestinationPath(plan.root, row.subPath, row.source);
        const std::string folder = GetFolderPart(dest);
        if (!FolderExists(app.fs, folder) && !FolderExists(app.fs, plan.root)) {
            Warn(app, events, "目标目录 \r\n" + folder + " 不存在！");
            app.sys.sleepMs(1000);
            break;
        }
        if (!MakeFolder(app.fs, folder)) {
            ReportRow(app, events, i, {false, kFolderUnmadeText});
        } else {
            dest = written.claim(dest);
            if (!UserSkipsExisting(app, dest)) {
                if (CopyRow(app, events, plan, i, dest)) ++ok;
                written.noteAttempt(dest);
            }
        }
        events.send([&app, i] { app.ui.setProgressPos(Ctl::进度条1, i + 1); });
    }
    const std::string summary = "共" + std::to_string(n) + "个,成功复制" + std::to_string(ok) +
                                "个,耗时" + FormatNumber((app.sys.tickMs() - t0) / 1000.0) + "秒";
    events.send([&app, summary] {
        ShowJobStatus(app, summary, 1);
        EndCopyJob(app);
    });
}

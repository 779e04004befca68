#include "copyengine/copyjob.h"

#include <algorithm>

#include "app/app.h"
#include "copyengine/copyloop.h"
#include "copyengine/jobstate.h"
#include "copyengine/jobui.h"
#include "copyengine/room.h"
#include "paths/paths.h"
#include "copylist/sizedisplay.h"
#include "settings/playerdrive.h"
#include "text/number.h"
#include "tray/tray.h"

namespace {

constexpr char kTooLargeText[] = "待复制文件总大小 大于 目标磁盘 剩余空间！\r\n请删除一些文件！";

// A refusal leaves the list and the controls as they are.
void Refuse(App& app, const std::string& refusal) {
    ShowTrayBalloon(app, kProgramTitle, refusal, 2);
    ShowIdlePictures(app);
}

// The root; the size line shown again. A missing root may be a player that came back
// under another letter.
bool PassesChecks(App& app) {
    const std::string typed = app.ui.text(Ctl::目录框);
    if (!FolderExists(app.fs, typed) && !IsFileNotFolder(app.fs, typed)) OfferNewPlayerDrive(app);
    const std::string root = app.ui.text(Ctl::目录框);
    std::string refusal;
    if (IsFileNotFolder(app.fs, root))
        refusal = "目标目录 " + root + " 不是文件夹！";
    else if (!FolderExists(app.fs, root))
        refusal = "目标目录 " + root + " 不存在！";
    if (refusal.empty()) {
        RefreshSizeDisplay(app);
        return true;
    }
    Refuse(app, refusal);
    return false;
}

// The controls the job would read are locked while it runs, so a copy of them now is
// what the job would have read.
JobPlan TakePlan(App& app, bool ownCopy) {
    JobPlan plan;
    plan.ownCopy = ownCopy;
    plan.root = app.ui.text(Ctl::目录框);
    plan.verify = app.ui.checked(Ctl::选择框_校验);
    plan.deleteSource = app.ui.checked(Ctl::选择框_成功后删除源文件);
    plan.fatTarget = IsFatFormat(app.fs.volumeFormat(plan.root));
    const int rows = app.ui.rowCount(Ctl::超级列表框);
    for (int r = 0; r < rows; ++r) {
        std::string source = app.ui.cell(Ctl::超级列表框, r, 0);
        const std::int64_t listed = app.ui.rowBytes(Ctl::超级列表框, r);
        const double megabytes = std::max(ParseNumber(app.ui.cell(Ctl::超级列表框, r, 1)), 0.0);
        const std::int64_t bytes = listed != kUnlistedBytes ? std::max<std::int64_t>(listed, 0)
                                                            : static_cast<std::int64_t>(megabytes * 1048576);
        plan.rows.push_back({std::move(source), app.ui.cell(Ctl::超级列表框, r, 2), bytes});
    }
    return plan;
}

// The job's own rows are 0 to n - 1 for its whole run: while it runs, rows are only added
// after them.
void TakeRowStates(App& app, CopyJobState& job, int rows) {
    job.images.resize(rows);
    for (int r = 0; r < rows; ++r) job.images[r] = app.ui.rowImage(Ctl::超级列表框, r);
    job.copied.assign(rows, false);
}

}  // namespace

// The checks run here on the main thread, so a second start can never overlap the first.
void StartCopyJob(App& app) {
    const int method = app.ui.comboIndex(Ctl::组合框_复制方法);
    if (method != 0 && method != 1) return;
    CopyJobState& job = JobState(app);
    if (job.running) return;
    if (app.intakeDepth > 0) {  // a folder is still being read: the job takes all of it
        app.copyAfterIntake = true;
        app.ui.setText(Ctl::标签3, "正在读取文件夹，读完后开始复制...");
        return;
    }
    if (!PassesChecks(app)) return;
    JobPlan plan = TakePlan(app, method == 0);
    if (!MakeRoom(app, plan)) return Refuse(app, kTooLargeText);
    TakeRowStates(app, job, static_cast<int>(plan.rows.size()));
    std::int64_t work = 0;
    for (const JobRow& row : plan.rows) work += plan.work(row);
    job.meter.start(work, app.sys.tickMs());
    if (plan.rows.empty()) {
        ShowTrayBalloon(app, kProgramTitle, "没有待复制文件，请添加文件", 2);
        EndCopyJob(app, "");
        return;
    }
    job.running = true;
    EnterBusyState(app, static_cast<int>(plan.rows.size()));
    job.events.setDirect(!plan.ownCopy);
    if (plan.ownCopy)
        app.sys.startThread([&app, &job, plan = std::move(plan)] { RunCopyJob(app, job.events, plan); });
    else
        RunCopyJob(app, job.events, plan);
}

void CancelCopyJob(App& app) {
    app.copyBusy = 0;
    app.ui.closeOverwriteQuestion();
}

bool DeferExitForCopyJob(App& app) {
    if (!app.job || !app.job->running) return false;
    app.exitAfterJob = true;
    CancelCopyJob(app);
    return true;
}

std::string FailedRowReason(App& app, int row) {
    if (app.ui.rowImage(Ctl::超级列表框, row) != kFailedImage) return "";
    const auto& reasons = app.failureReasons;
    const auto it = reasons.find(app.ui.cell(Ctl::超级列表框, row, 0));
    return it == reasons.end() ? "" : it->second;
}

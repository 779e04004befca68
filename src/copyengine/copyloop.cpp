#include "copyengine/copyloop.h"

#include "app/app.h"
#include "copyengine/copymethods.h"
#include "copyengine/jobevents.h"
#include "copyengine/jobui.h"
#include "copyengine/paths.h"
#include "text/number.h"
#include "tray/tray.h"

namespace {

void AnnounceRow(App& app, JobEvents& events, int row, const std::string& source) {
    const std::string text = "正在复制 " + source + " 请稍候...      ";
    events.send([&app, row, text] {
        app.ui.selectRow(Ctl::超级列表框, row);
        app.ui.setRowImage(Ctl::超级列表框, row, 6);
        ShowJobStatus(app, text, 1);
    });
}

void Warn(App& app, JobEvents& events, const std::string& text) {
    events.send([&app, text] { ShowTrayBalloon(app, kProgramTitle, text, 2); });
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
        : CopyWithShell(app, source, dest);
    events.send([&app, row, result] {
        ShowJobStatus(app, result.text, result.ok ? 1 : 3);
        app.ui.setRowMark(Ctl::超级列表框, row, result.ok ? 2 : 1);
        if (result.ok) app.ui.setRowImage(Ctl::超级列表框, row, 7);
    });
    if (result.ok && plan.deleteSource) DeleteSource(app, events, source);
    return result.ok;
}

}  // namespace

void RunCopyJob(App& app, JobEvents& events, const JobPlan& plan) {
    const std::uint64_t t0 = app.sys.tickMs();
    const int n = static_cast<int>(plan.rows.size());
    int ok = 0;
    for (int i = 0; i < n; ++i) {
        if (!plan.ownCopy) app.ui.pumpEvents();  // lets Cancel in between files
        if (app.copyBusy == 0) break;
        const JobRow& row = plan.rows[i];
        AnnounceRow(app, events, i, row.source);
        const std::string dest = BuildDestinationPath(plan.root, row.subPath, row.source);
        const std::string folder = GetFolderPart(dest);
        if (!FolderExists(app.fs, folder)) {
            Warn(app, events, "目标目录 \r\n" + folder + " 不存在！");
            app.sys.sleepMs(1000);
            break;
        }
        if (!UserSkipsExisting(app, dest) && CopyRow(app, events, plan, i, dest)) ++ok;
        events.send([&app, i] { app.ui.setProgressPos(Ctl::进度条1, i + 1); });
    }
    const std::string summary = "共" + std::to_string(n) + "个,成功复制" + std::to_string(ok) +
                                "个,耗时" + FormatNumber((app.sys.tickMs() - t0) / 1000.0) + "秒";
    events.send([&app, summary] {
        ShowJobStatus(app, summary, 1);
        EndCopyJob(app);
    });
}

#include "copyengine/jobui.h"

#include "app/app.h"
#include "copyengine/copyjob.h"
#include "copyengine/jobstate.h"
#include "copylist/sizedisplay.h"
#include "text/number.h"
#include "tray/tray.h"

namespace {

// Everything that could change the list, the target or the options while copying.
constexpr Ctl kLockedWhileBusy[] = {
    Ctl::按钮_添加文件, Ctl::按钮_向上, Ctl::按钮_向下, Ctl::按钮_删除, Ctl::按钮_全部删除,
    Ctl::按钮_复制, Ctl::按钮_浏览, Ctl::目录框, Ctl::按钮_退出, Ctl::选择框_成功后删除源文件,
    Ctl::选择框_校验};
constexpr MenuItem kMiniLockedWhileBusy[] = {MenuItem::迷你_添加文件, MenuItem::迷你_设置目标目录,
                                             MenuItem::迷你_复制文件};

// Copied rows leave the list; a failed row shows the cross, the others their rule's image
// again. Rows added during the job come after the job's own and stay as they are. The
// copied rows go in one step and the list is repainted once, however many they are.
void SettleRows(App& app, CopyJobState& job) {
    constexpr Ctl kList = Ctl::超级列表框;
    app.ui.holdRedraw(kList, true);
    for (int r = 0; r < static_cast<int>(job.copied.size()); ++r) {
        if (job.copied[r]) continue;
        app.ui.setRowImage(kList, r, app.ui.rowMark(kList, r) == 1 ? kFailedImage : job.images[r]);
    }
    app.ui.deleteRows(kList, job.copied);
    app.ui.holdRedraw(kList, false);
    job.copied.clear();
    job.images.clear();
}

// A retry is offered only when one of the files left is still there to copy.
std::string RowsLeftText(App& app) {
    const int left = app.ui.rowCount(Ctl::超级列表框);
    if (!left) return "";
    bool retry = false;
    for (int r = 0; r < left && !retry; ++r) retry = app.fs.exists(app.ui.cell(Ctl::超级列表框, r, 0));
    return "\r\n列表中还有" + std::to_string(left) + (retry ? "个文件，再按“复制”重试" : "个文件未能复制，请查看其提示");
}

void ShowSummary(App& app, const std::string& summary, const JobTally& tally) {
    app.ui.setText(Ctl::标签3, summary);
    std::string balloon = summary;
    if (tally.unchanged > 0)
        balloon += "\r\n其中" + std::to_string(tally.unchanged) + "个文件播放器上已有相同的，未重新写入（共" +
                   FormatNumber(RoundTo3(static_cast<double>(tally.unchangedBytes) / 1048576)) + " M）";
    if (tally.noRoom > 0) balloon += "\r\n有" + std::to_string(tally.noRoom) + "个文件因目标磁盘空间不足未复制";
    ShowTrayBalloon(app, kProgramTitle, balloon + RowsLeftText(app), 1);
}

}  // namespace

void SetBusyUi(App& app, bool busy) {
    for (Ctl c : kLockedWhileBusy) app.ui.setEnabled(c, !busy);
    app.ui.setEnabled(Ctl::按钮_取消, busy);
    if (!app.ui.windowCreated(Wnd::Mini)) return;
    for (MenuItem m : kMiniLockedWhileBusy) app.ui.setMenuItemEnabled(m, !busy);
    app.ui.setMenuItemEnabled(MenuItem::迷你_取消, busy);
}

void ShowJobStatus(App& app, const std::string& text, int kind) {
    app.ui.setText(Ctl::标签3, text);
    ShowTrayBalloon(app, kProgramTitle, text, kind);
}

void ShowIdlePictures(App& app) {
    app.ui.setMiniPicture(MiniPicture::Idle);
    SetTrayIcon(app, IdleTrayIcon);
}

void EnterBusyState(App& app, int rows) {
    app.copyBusy = 1;
    SetBusyUi(app, true);
    SetTrayIcon(app, BusyTrayIcon);
    app.ui.setMiniPicture(MiniPicture::Busy);
    app.ui.setProgressRange(Ctl::进度条1, 0, rows);
    app.ui.setProgressPos(Ctl::进度条1, 0);
}

void ShowProgressLine(App& app) {
    const std::string line = JobState(app).meter.line(app.sys.tickMs());
    app.ui.setText(Ctl::标签2, line);
    SetTrayTip(app, line);
}

void EndCopyJob(App& app, const std::string& summary, const JobTally& tally) {
    CopyJobState& job = JobState(app);
    app.copyBusy = 0;
    SetBusyUi(app, false);
    // 复制 lost the focus when it was locked; a keyboard user goes on from there.
    if (app.ui.focusedControl() == Ctl::Count) app.ui.setFocus(Ctl::按钮_复制);
    SettleRows(app, job);
    if (!summary.empty()) ShowSummary(app, summary, tally);
    ShowSizeCaption(app);
    app.ui.setText(Ctl::标签2, "总进度");
    SetTrayTip(app, kProgramTitle);
    ShowIdlePictures(app);
    job.running = false;
    app.jobEnded(app);
}

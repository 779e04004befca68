#include "copylist/sizedisplay.h"

#include <string>

#include "app/app.h"
#include "text/number.h"
#include "tray/tray.h"

namespace {

constexpr int kBalloonInfo = 1, kBalloonWarning = 2;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

double TotalSizeInM(App& app) {
    double total = 0;
    const int rows = app.ui.rowCount(Ctl::超级列表框);
    for (int row = 0; row < rows; ++row) total += ParseNumber(app.ui.cell(Ctl::超级列表框, row, 1));
    return total;
}

double FreeSpaceInM(App& app) {
    const std::string root = app.ui.text(Ctl::目录框);
    // Only a drive letter can be asked; anything else counts as a drive that cannot be queried.
    const std::int64_t kb = !root.empty() && IsAsciiLetter(root[0]) ? app.fs.driveFreeKb(root[0]) : -1;
    return RoundTo3(static_cast<double>(kb) / 1024);
}

bool RefreshSizeDisplay(App& app) {
    const double total = TotalSizeInM(app);
    const double free = FreeSpaceInM(app);
    const std::string caption =
        "文件总大小:" + FormatNumber(total) + " M   目标磁盘剩余:" + FormatNumber(free) + " M";
    const bool fits = total - free <= 0.0000001;
    app.ui.setText(Ctl::标签_显示大小, caption);
    app.ui.setTextColor(Ctl::标签_显示大小, fits ? MakeRgb(0, 0, 255) : MakeRgb(255, 0, 0));
    ShowTrayBalloon(app, kProgramTitle, caption, fits ? kBalloonInfo : kBalloonWarning);
    return fits;
}

#include "copylist/sizedisplay.h"

#include <algorithm>
#include <string>

#include "app/app.h"
#include "paths/paths.h"
#include "text/number.h"
#include "tray/tray.h"

namespace {

constexpr int kBalloonInfo = 1, kBalloonWarning = 2;
constexpr double kFatLimitM = 4096;
constexpr double kBytesPerM = 1048576.0;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string Caption(double total, double free) {
    return "文件总大小:" + FormatNumber(total) + " M   目标磁盘剩余:" + FormatNumber(free) + " M";
}

bool Fits(double total, double free) { return total - free <= 0.0000001; }

// A listed file of 4 GiB or more for a FAT player: its column shows 4096 M or more.
bool ListHoldsTooLargeForFat(App& app) {
    const int rows = app.ui.rowCount(Ctl::超级列表框);
    bool large = false;
    for (int row = 0; row < rows && !large; ++row)
        large = ParseNumber(app.ui.cell(Ctl::超级列表框, row, 1)) >= kFatLimitM &&
                app.fs.fileSize(app.ui.cell(Ctl::超级列表框, row, 0)) >= (1LL << 32);
    return large && IsFatFormat(app.fs.volumeFormat(app.ui.text(Ctl::目录框)));
}

void ShowCaption(App& app, double total, double free) {
    app.ui.setText(Ctl::标签_显示大小, Caption(total, free));
    app.ui.setTextColor(Ctl::标签_显示大小, Fits(total, free) ? MakeRgb(0, 0, 255) : MakeRgb(255, 0, 0));
}

}  // namespace

// The files' bytes as they were when listed, so small files add up and a missing one
// (size -1) adds nothing; a row listed some other way counts by its column.
double TotalSizeInM(App& app) {
    double bytes = 0;
    const int rows = app.ui.rowCount(Ctl::超级列表框);
    for (int row = 0; row < rows; ++row) {
        const std::int64_t listed = app.ui.rowBytes(Ctl::超级列表框, row);
        const double rowBytes = listed != kUnlistedBytes ? static_cast<double>(listed)
                                                         : ParseNumber(app.ui.cell(Ctl::超级列表框, row, 1)) * kBytesPerM;
        bytes += std::max(rowBytes, 0.0);
    }
    return RoundTo3(bytes / kBytesPerM);
}

double FreeSpaceInM(App& app) {
    const std::string root = app.ui.text(Ctl::目录框);
    // Only a drive letter can be asked; anything else, and a root that is a file, counts as
    // a drive that cannot be queried.
    const bool drive = !root.empty() && IsAsciiLetter(root[0]) && !IsFileNotFolder(app.fs, root);
    const std::int64_t kb = drive ? app.fs.driveFreeKb(root[0]) : -1;
    return RoundTo3(static_cast<double>(kb) / 1024);
}

void ShowSizeCaption(App& app) { ShowCaption(app, TotalSizeInM(app), FreeSpaceInM(app)); }

bool RefreshSizeDisplay(App& app) {
    const double total = TotalSizeInM(app);
    const double free = FreeSpaceInM(app);
    ShowCaption(app, total, free);
    const bool fits = Fits(total, free);
    const bool tooLarge = ListHoldsTooLargeForFat(app);
    const std::string text = Caption(total, free) + (tooLarge ? std::string("\r\n") + kTooLargeForFatText : "");
    ShowTrayBalloon(app, kProgramTitle, text, fits && !tooLarge ? kBalloonInfo : kBalloonWarning);
    return fits;
}

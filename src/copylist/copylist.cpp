#include "copylist/copylist.h"

#include <cstdint>
#include <vector>

#include "app/app.h"
#include "paths/paths.h"
#include "copylist/folderwalk.h"
#include "copylist/sizedisplay.h"
#include "platform/shell.h"
#include "settings/rules.h"
#include "text/number.h"

namespace {

constexpr Ctl kList = Ctl::超级列表框;
constexpr double kBytesPerM = 1048576.0;
constexpr std::uint64_t kPumpEveryMs = 20;
constexpr std::uint64_t kShowEveryMs = 100;

double SizeInM(std::int64_t bytes) {
    if (bytes <= 0) return static_cast<double>(bytes);
    return RoundTo3(static_cast<double>(bytes) / kBytesPerM);
}

// The rules and the 规则 box as a new row takes them; they change only while events run.
struct RowRules {
    RuleTable table;
    bool shown = true;
};

RowRules CurrentRowRules(App& app) { return {ReadRules(app), app.ui.checked(Ctl::选择框_规则)}; }

void AddRow(App& app, const RowRules& rules, const std::string& path, std::int64_t bytes) {
    const RuleMatch m = LookupRule(rules.table, path);
    const int row = app.ui.appendRow(kList, path, m.ruleIndex);
    app.ui.setRowBytes(kList, row, bytes);
    app.ui.setCell(kList, row, 1, FormatNumber(SizeInM(bytes)));
    app.ui.setCell(kList, row, 2, rules.shown ? m.subPath : "\\");
}

// The list takes the rows without repainting; every kPumpEveryMs the pending window
// events run, and every kShowEveryMs the list shows the rows added and is painted once
// (a paint costs about as much as reading a few hundred files), so the window stays
// responsive without a repaint per file.
void AddFolderFiles(App& app, const std::string& folder) {
    std::uint64_t lastPump = app.sys.tickMs(), lastShown = lastPump;
    RowRules rules = CurrentRowRules(app);
    app.ui.holdRedraw(kList, true);
    ForEachFileIn(app.fs, folder, [&](const std::string& file, std::int64_t bytes) {
        AddRow(app, rules, file, bytes >= 0 ? bytes : app.fs.fileSize(file));
        const std::uint64_t now = app.sys.tickMs();
        if (now - lastPump < kPumpEveryMs) return true;
        if (now - lastShown >= kShowEveryMs) {
            app.ui.holdRedraw(kList, false);
            lastShown = now;
        }
        app.ui.pumpEvents();  // a drop handled here runs to its end, so its rows stay one block
        app.ui.holdRedraw(kList, true);
        rules = CurrentRowRules(app);
        lastPump = app.sys.tickMs();
        return app.exitRequested == 0;  // the program is ending: stop reading
    });
    app.ui.holdRedraw(kList, false);
}

}  // namespace

void AddFilesByDialog(App& app) {
    const std::string filter = "Ruzorize3支持的文件|" + JoinAllPatterns(app) + "|所有文件|*.*";
    std::string text;
    for (const auto& path : app.shell.chooseFiles("选择需要复制的文件(可多选)", filter)) text += path + "\r\n";
    AddPaths(app, text);
}

void AddPaths(App& app, const std::string& text) {
    ++app.intakeDepth;
    // Every way in (a drop, the dialog, the command line, a hand-over) passes here, so each
    // row holds the path the system opens, and no name can climb out of its rule's folder.
    for (const auto& path : WholePaths(app.sys, text)) {
        if (app.exitRequested) break;
        if (FolderExists(app.fs, path)) AddFolderFiles(app, path);
        else AddFileEntry(app, path);
    }
    --app.intakeDepth;
    if (app.exitRequested) return;
    RefreshSizeDisplay(app);
    if (app.intakeDepth == 0) app.intakeDone(app);
}

void AddPathsLater(App& app, const std::string& text) {
    app.sys.post([&app, text] { AddPaths(app, text); });
}

bool AddFileEntry(App& app, const std::string& path) {
    return !path.empty() && AddListedFile(app, path, app.fs.fileSize(path));
}

bool AddListedFile(App& app, const std::string& path, std::int64_t bytes) {
    AddRow(app, CurrentRowRules(app), path, bytes);
    return true;
}

double FileSizeInM(App& app, const std::string& path) { return SizeInM(app.fs.fileSize(path)); }

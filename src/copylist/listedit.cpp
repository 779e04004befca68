// Reordering and removing rows of the copy list.
#include <string>

#include "app/app.h"
#include "copylist/copylist.h"
#include "copylist/sizedisplay.h"

namespace {

constexpr Ctl kList = Ctl::超级列表框;

struct Entry {
    std::string cells[3];
    int image = 0;
    int mark = 0;
    std::int64_t bytes = kUnlistedBytes;
};

Entry ReadEntry(Ui& ui, int row) {
    Entry e;
    for (int col = 0; col < 3; ++col) e.cells[col] = ui.cell(kList, row, col);
    e.image = ui.rowImage(kList, row);
    e.mark = ui.rowMark(kList, row);
    e.bytes = ui.rowBytes(kList, row);
    return e;
}

void WriteEntry(Ui& ui, int row, const Entry& e) {
    for (int col = 0; col < 3; ++col) ui.setCell(kList, row, col, e.cells[col]);
    ui.setRowImage(kList, row, e.image);
    ui.setRowMark(kList, row, e.mark);
    ui.setRowBytes(kList, row, e.bytes);
}

// Moves the current row by one place (delta -1 or +1), the selection with it.
void MoveCurrentEntry(App& app, int delta) {
    Ui& ui = app.ui;
    const int r = ui.currentRow(kList);
    if (r == -1) {
        ui.messageBox("请选择需要移动的文件！", kProgramTitle, mb::Ok | mb::IconWarning);
        return;
    }
    const int other = r + delta;
    if (other < 0 || other >= ui.rowCount(kList)) return;
    const Entry moving = ReadEntry(ui, r);
    WriteEntry(ui, r, ReadEntry(ui, other));
    WriteEntry(ui, other, moving);
    ui.selectRow(kList, other);
}

}  // namespace

void MoveEntryUp(App& app) { MoveCurrentEntry(app, -1); }
void MoveEntryDown(App& app) { MoveCurrentEntry(app, +1); }

void RemoveCurrentEntry(App& app) {
    const int r = app.ui.currentRow(kList);
    if (r != -1) {
        app.failureReasons.erase(app.ui.cell(kList, r, 0));
        app.ui.deleteRow(kList, r);
    }
    RefreshSizeDisplay(app);
}

void RemoveAllEntries(App& app) {
    app.failureReasons.clear();
    app.ui.deleteAllRows(kList);
    RefreshSizeDisplay(app);
}

#include "platform/sim/sim_ui.h"

#include <algorithm>

#include "platform/layout.h"

namespace {
SimRow gNoRow;  // what an out-of-range row reads as, like an empty list-view item
}

SimUi::SimUi() {
    for (const auto& c : MainControls()) control(c.id).text = c.caption;
    for (const auto& c : MiniControls()) control(c.id).text = c.caption;
    control(Ctl::按钮_取消).enabled = false;
    control(Ctl::标签_显示大小).color = MakeRgb(0, 0, 255);
    for (const auto& m : Menus())
        if (m.caption) menuEnabled[static_cast<int>(m.id)] = m.enabled;
    win(Wnd::Main).created = true;
    win(Wnd::Main).visible = true;
    win(Wnd::Main).title = WindowLayout(Wnd::Main).caption;
}

std::string SimUi::text(Ctl c) const { return control(c).text; }
void SimUi::setText(Ctl c, const std::string& t) { control(c).text = t; }
void SimUi::setTextColor(Ctl c, Rgb color) { control(c).color = color; }
bool SimUi::checked(Ctl c) const { return control(c).checked; }
void SimUi::setChecked(Ctl c, bool on) { control(c).checked = on; }
bool SimUi::enabled(Ctl c) const { return control(c).enabled; }
void SimUi::setEnabled(Ctl c, bool on) {
    control(c).enabled = on;
    if (!on && focus == c) focus = Ctl::Count;
}

int SimUi::comboIndex(Ctl c) const { return control(c).comboIndex; }
void SimUi::setComboIndex(Ctl c, int i) {
    // A drop-down list selects nothing for an index it does not hold.
    const int items = static_cast<int>(CopyMethodItems().size());
    control(c).comboIndex = (i >= 0 && i < items) ? i : -1;
}

void SimUi::setProgressRange(Ctl c, int min, int max) {
    control(c).progressMin = min;
    control(c).progressMax = max;
}
void SimUi::setProgressPos(Ctl c, int pos) { control(c).progressPos = pos; }
int SimUi::progressPos(Ctl c) const { return control(c).progressPos; }
void SimUi::setProgressColor(Ctl c, Rgb color) { control(c).progressColor = color; }

SimRow& SimUi::row(Ctl c, int r) {
    auto& rows = control(c).rows;
    if (r < 0 || r >= static_cast<int>(rows.size())) return gNoRow = SimRow{}, gNoRow;
    return rows[r];
}
const SimRow& SimUi::row(Ctl c, int r) const {
    const auto& rows = control(c).rows;
    if (r < 0 || r >= static_cast<int>(rows.size())) return gNoRow;
    return rows[r];
}

int SimUi::rowCount(Ctl c) const { return static_cast<int>(control(c).rows.size()); }

int SimUi::appendRow(Ctl c, const std::string& col0, int image) {
    control(c).rows.push_back(SimRow{{col0}, image, 0, kUnlistedBytes});
    return rowCount(c) - 1;
}

void SimUi::deleteRow(Ctl c, int r) {
    auto& ctl = control(c);
    if (r < 0 || r >= rowCount(c)) return;
    ctl.rows.erase(ctl.rows.begin() + r);
    if (ctl.currentRow == r) ctl.currentRow = -1;
    else if (ctl.currentRow > r) --ctl.currentRow;
}

void SimUi::deleteAllRows(Ctl c) {
    control(c).rows.clear();
    control(c).currentRow = -1;
}

void SimUi::deleteRows(Ctl c, const std::vector<bool>& gone) {
    for (int r = static_cast<int>(std::min(gone.size(), control(c).rows.size())) - 1; r >= 0; --r)
        if (gone[r]) deleteRow(c, r);
}

std::string SimUi::cell(Ctl c, int r, int col) const {
    const auto& cells = row(c, r).cells;
    return col >= 0 && col < static_cast<int>(cells.size()) ? cells[col] : std::string();
}

void SimUi::setCell(Ctl c, int r, int col, const std::string& t) {
    if (r < 0 || r >= rowCount(c) || col < 0) return;
    auto& cells = row(c, r).cells;
    if (static_cast<int>(cells.size()) <= col) cells.resize(col + 1);
    cells[col] = t;
}

int SimUi::rowImage(Ctl c, int r) const { return row(c, r).image; }
void SimUi::setRowImage(Ctl c, int r, int image) { row(c, r).image = image; }
int SimUi::rowMark(Ctl c, int r) const { return row(c, r).mark; }
void SimUi::setRowMark(Ctl c, int r, int mark) { row(c, r).mark = mark; }
std::int64_t SimUi::rowBytes(Ctl c, int r) const { return row(c, r).bytes; }
void SimUi::setRowBytes(Ctl c, int r, std::int64_t bytes) { row(c, r).bytes = bytes; }
int SimUi::currentRow(Ctl c) const { return control(c).currentRow; }
void SimUi::selectRow(Ctl c, int r) {
    control(c).currentRow = (r >= 0 && r < rowCount(c)) ? r : -1;
}

void SimUi::loadWindow(Wnd w) {
    win(w).created = true;
    win(w).visible = true;
    if (onLoad) onLoad(w);
}

void SimUi::showWindow(Wnd w, bool visible) {
    if (win(w).created) win(w).visible = visible;
}

void SimUi::destroyWindow(Wnd w) { win(w) = SimWindow{}; }

bool SimUi::menuItemEnabled(MenuItem m) const { return menuEnabled[static_cast<int>(m)]; }
void SimUi::setMenuItemEnabled(MenuItem m, bool on) {
    // Like a real menu, the mini menu exists only with its window.
    if (win(Wnd::Mini).created || m <= MenuItem::托盘_退出) menuEnabled[static_cast<int>(m)] = on;
}

int SimUi::messageBox(const std::string& text, const std::string& title, unsigned style) {
    messageBoxes.push_back({text, title, style, ""});
    if (const int own = answerFirst ? answerFirst(messageBoxes.back()) : 0) return own;
    if (messageBoxAnswers.empty()) return mb::IdOk;
    const int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    return answer;
}

OverwriteAnswer SimUi::askOverwrite(const std::string& text, const std::string& title, const std::string& details) {
    if (onQuestion) onQuestion();
    const bool overwrite = messageBox(text, title, mb::OkCancel | mb::IconQuestion) == mb::IdOk;
    messageBoxes.back().details = details;
    bool forRest = false;
    if (!overwriteForRest.empty()) {
        forRest = overwriteForRest.front();
        overwriteForRest.pop_front();
    }
    return {overwrite, forRest};
}

void SimUi::pumpEvents() {
    ++pumps;
    if (onPump) onPump();
}

std::vector<std::string> SimUi::column0(Ctl c) const {
    std::vector<std::string> out;
    for (const auto& r : control(c).rows) out.push_back(r.cells.empty() ? "" : r.cells[0]);
    return out;
}

// The list views' rows, kept here and drawn by the list views on demand.
#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "platform/win32/wide_text.h"
#include "platform/win32/win_ui.h"

const ListRow* WinUi::row(Ctl c, int r) const {
    const auto& rows = list(c).rows;
    return r >= 0 && r < static_cast<int>(rows.size()) ? &rows[r] : nullptr;
}

void WinUi::syncCount(Ctl c) {
    const auto n = static_cast<WPARAM>(list(c).rows.size());
    if (SendMessageW(control(c), LVM_GETITEMCOUNT, 0, 0) != static_cast<LRESULT>(n))
        SendMessageW(control(c), LVM_SETITEMCOUNT, n, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
}

void WinUi::redrawRow(Ctl c, int r) {
    if (list(c).held) list(c).changed = true;
    else SendMessageW(control(c), LVM_REDRAWITEMS, r, r);
}

void WinUi::answerDisplay(Ctl c, NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    const ListRow* r = row(c, item.iItem);
    if (!r) return;
    if (item.mask & LVIF_IMAGE) item.iImage = r->image;
    if (!(item.mask & LVIF_TEXT) || item.iSubItem < 0 || item.iSubItem > 2) return;
    std::wstring& shown = list(c).shown;
    shown = Wide(r->cells[item.iSubItem]);
    if (item.pszText && item.cchTextMax > 0) lstrcpynW(item.pszText, shown.c_str(), item.cchTextMax);
    else item.pszText = shown.data();
}

// Typing a row's first letters selects it, as in a list view holding its own items.
int WinUi::findRow(Ctl c, const NMLVFINDITEMW& find) const {
    const auto& rows = list(c).rows;
    const int n = static_cast<int>(rows.size());
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz || !n) return -1;
    const std::wstring typed = find.lvfi.psz;
    for (int i = 0; i < n; ++i) {
        const int r = (find.iStart + i) % n;
        const std::wstring name = Wide(rows[r].cells[0]);
        const bool whole = !(find.lvfi.flags & LVFI_PARTIAL);
        if ((whole ? name.size() == typed.size() : name.size() >= typed.size()) &&
            CompareStringOrdinal(name.c_str(), static_cast<int>(typed.size()), typed.c_str(),
                                 static_cast<int>(typed.size()), TRUE) == CSTR_EQUAL)
            return r;
    }
    return -1;
}

int WinUi::rowCount(Ctl c) const { return static_cast<int>(list(c).rows.size()); }

int WinUi::appendRow(Ctl c, const std::string& col0, int image) {
    auto& rows = list(c).rows;
    rows.push_back({{col0, "", ""}, image, 0, kUnlistedBytes});
    if (!list(c).held) syncCount(c);
    return static_cast<int>(rows.size()) - 1;
}

void WinUi::deleteRow(Ctl c, int r) {
    if (!row(c, r)) return;
    syncCount(c);
    auto& rows = list(c).rows;
    rows.erase(rows.begin() + r);
    SendMessageW(control(c), LVM_DELETEITEM, r, 0);
}

void WinUi::deleteAllRows(Ctl c) {
    list(c).rows.clear();
    SendMessageW(control(c), LVM_DELETEALLITEMS, 0, 0);
}

void WinUi::deleteRows(Ctl c, const std::vector<bool>& gone) {
    int selected = currentRow(c);
    auto& rows = list(c).rows;
    std::size_t kept = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const bool goes = r < gone.size() && gone[r];
        if (static_cast<int>(r) == selected) selected = goes ? -1 : static_cast<int>(kept);
        if (goes) continue;
        if (kept != r) rows[kept] = std::move(rows[r]);  // a row moved onto itself would lose its text
        ++kept;
    }
    rows.resize(kept);
    selectRow(c, -1);
    syncCount(c);
    selectRow(c, selected);
    if (list(c).held) list(c).changed = true;
    else InvalidateRect(control(c), nullptr, TRUE);
}

std::string WinUi::cell(Ctl c, int r, int col) const {
    const ListRow* at = row(c, r);
    return at && col >= 0 && col <= 2 ? at->cells[col] : std::string();
}

void WinUi::setCell(Ctl c, int r, int col, const std::string& t) {
    if (!row(c, r) || col < 0 || col > 2) return;
    list(c).rows[r].cells[col] = t;
    redrawRow(c, r);
}

int WinUi::rowImage(Ctl c, int r) const { return row(c, r) ? row(c, r)->image : 0; }

void WinUi::setRowImage(Ctl c, int r, int image) {
    if (!row(c, r)) return;
    list(c).rows[r].image = image;
    redrawRow(c, r);
}

int WinUi::rowMark(Ctl c, int r) const { return row(c, r) ? row(c, r)->mark : 0; }

void WinUi::setRowMark(Ctl c, int r, int mark) {
    if (row(c, r)) list(c).rows[r].mark = mark;
}

std::int64_t WinUi::rowBytes(Ctl c, int r) const { return row(c, r) ? row(c, r)->bytes : kUnlistedBytes; }

void WinUi::setRowBytes(Ctl c, int r, std::int64_t bytes) {
    if (row(c, r)) list(c).rows[r].bytes = bytes;
}

// A search for the selected row asks every row above it, so the focused row, which the
// list view knows at once and which is the selected one as a rule, is asked first.
int WinUi::currentRow(Ctl c) const {
    const HWND h = control(c);
    if (!SendMessageW(h, LVM_GETSELECTEDCOUNT, 0, 0)) return -1;
    const auto focused = SendMessageW(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED | LVNI_SELECTED);
    if (focused >= 0) return static_cast<int>(focused);
    return static_cast<int>(SendMessageW(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// Only the selected and the focused row are cleared: clearing all rows at once visits
// every row.
void WinUi::selectRow(Ctl c, int r) {
    syncCount(c);
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    const int focused =
        static_cast<int>(SendMessageW(control(c), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    for (const int old : {currentRow(c), focused})
        if (old >= 0) SendMessageW(control(c), LVM_SETITEMSTATE, old, reinterpret_cast<LPARAM>(&none));
    if (r < 0) return;
    LVITEMW item{};
    item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(control(c), LVM_SETITEMSTATE, r, reinterpret_cast<LPARAM>(&item));
    SendMessageW(control(c), LVM_ENSUREVISIBLE, r, FALSE);
}

// A row below the rows in view comes to the top: the rows after it, which a job selects
// one by one, are then in view without a scroll each (a scroll costs Wine tens of ms).
void WinUi::selectRowAhead(Ctl c, int r) {
    const HWND h = control(c);
    syncCount(c);
    const auto top = SendMessageW(h, LVM_GETTOPINDEX, 0, 0), page = SendMessageW(h, LVM_GETCOUNTPERPAGE, 0, 0);
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (r >= top + page && page > 0 && SendMessageW(h, LVM_GETITEMRECT, static_cast<WPARAM>(top), reinterpret_cast<LPARAM>(&row)))
        SendMessageW(h, LVM_SCROLL, 0, static_cast<LPARAM>((r - top) * (row.bottom - row.top)));
    selectRow(c, r);
}

// While held, rows change without a word to the list view; letting go tells it the count,
// which repaints the rows added, and repaints the whole list only when a row changed. (The
// list view's own WM_SETREDRAW would repaint it all each time.)
void WinUi::holdRedraw(Ctl c, bool hold) {
    ListRows& rows = list(c);
    rows.held = hold;
    if (hold) return;
    syncCount(c);
    if (std::exchange(rows.changed, false)) InvalidateRect(control(c), nullptr, TRUE);
}

// Verbs for report-style list views; item structs live in the target process.
#include "driver.h"

#include <commctrl.h>

namespace drive {

namespace {

constexpr size_t kChars = 1024;

int columnCount(HWND lv) {
    HWND header = reinterpret_cast<HWND>(send(lv, LVM_GETHEADER));
    return header ? (int)send(header, HDM_GETITEMCOUNT) : 1;
}

std::wstring cell(HWND lv, int row, int col) {
    RemoteBuffer mem(lv, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    LVITEMW item{};
    item.iSubItem = col;
    item.pszText = static_cast<wchar_t*>(mem.at(sizeof item));
    item.cchTextMax = kChars;
    mem.write(0, &item, sizeof item);
    send(lv, LVM_GETITEMTEXTW, (WPARAM)row, mem.lp());
    return mem.readString(sizeof item, kChars);
}

int rowArg(HWND lv, const Args& a, size_t i) {
    long long row = intArg(a, i, L"row");
    if (row < 0 || row >= send(lv, LVM_GETITEMCOUNT)) fail(L"no row " + a[i]);
    return (int)row;
}

int count(const Args& a) {
    out(std::to_wstring(send(requireControl(a[0]), LVM_GETITEMCOUNT)));
    return 0;
}

int cellVerb(const Args& a) {
    HWND lv = requireControl(a[0]);
    int row = rowArg(lv, a, 1);
    long long col = intArg(a, 2, L"column");
    if (col < 0 || col >= columnCount(lv)) fail(L"no column " + a[2]);
    out(cell(lv, row, (int)col));
    return 0;
}

int dump(const Args& a) {
    HWND lv = requireControl(a[0]);
    int rows = (int)send(lv, LVM_GETITEMCOUNT), cols = columnCount(lv);
    for (int r = 0; r < rows; ++r) {
        std::wstring line;
        for (int c = 0; c < cols; ++c) line += (c ? L"\t" : L"") + cell(lv, r, c);
        out(line);
    }
    return 0;
}

int columns(const Args& a) {
    HWND lv = requireControl(a[0]);
    int cols = columnCount(lv);
    for (int c = 0; c < cols; ++c) {
        RemoteBuffer mem(lv, sizeof(LVCOLUMNW) + kChars * sizeof(wchar_t));
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = static_cast<wchar_t*>(mem.at(sizeof col));
        col.cchTextMax = kChars;
        mem.write(0, &col, sizeof col);
        if (!send(lv, LVM_GETCOLUMNW, (WPARAM)c, mem.lp())) fail(L"cannot read column");
        mem.read(0, &col, sizeof col);
        out(mem.readString(sizeof col, kChars) + L"\t" + std::to_wstring(col.cx));
    }
    return 0;
}

int image(const Args& a) {
    HWND lv = requireControl(a[0]);
    RemoteBuffer mem(lv, sizeof(LVITEMW));
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = rowArg(lv, a, 1);
    mem.write(0, &item, sizeof item);
    if (!send(lv, LVM_GETITEMW, 0, mem.lp())) fail(L"cannot read the item");
    mem.read(0, &item, sizeof item);
    out(std::to_wstring(item.iImage));
    return 0;
}

// Clicks a row as a person would; the list selects it and notifies its parent itself.
int clickRow(const Args& a, bool twice) {
    HWND lv = requireControl(a[0]);
    if (!IsWindowVisible(lv) || !IsWindowEnabled(lv)) fail(a[0] + L" is hidden or disabled");
    int row = rowArg(lv, a, 1);
    send(lv, LVM_ENSUREVISIBLE, (WPARAM)row, FALSE);
    RECT r = remoteRect(lv, LVM_GETITEMRECT, (WPARAM)row, LVIR_LABEL);
    clickAt(lv, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}, twice);
    DWORD start = GetTickCount();
    while (send(lv, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED) != row ||
           send(lv, LVM_GETSELECTEDCOUNT) != 1) {
        if (GetTickCount() - start >= 3000) fail(L"the row did not become selected");
        sleepMs(30);
    }
    return 0;
}
int select(const Args& a) { return clickRow(a, false); }
int dblclick(const Args& a) { return clickRow(a, true); }

// Rests the mouse on a row and prints the text of the tip the program shows there.
int tip(const Args& a) {
    HWND lv = requireControl(a[0]);
    int row = rowArg(lv, a, 1);
    DWORD timeout = timeoutArg(a, 2, 5000), start = GetTickCount();
    RECT r = remoteRect(lv, LVM_GETITEMRECT, (WPARAM)row, LVIR_LABEL);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(lv, &p);
    for (int i = 0; GetTickCount() - start < timeout; ++i) {
        SetCursorPos(p.x + i % 2, p.y);  // a move the list sees, then rest
        sleepMs(100);
        for (HWND h : topWindows(TOOLTIPS_CLASSW, true)) {
            std::wstring t = windowText(h);
            if (!t.empty()) {
                out(t);
                return 0;
            }
        }
        sleepMs(400);
    }
    err(L"no tip");
    return 1;
}

int selected(const Args& a) {
    HWND lv = requireControl(a[0]);
    for (LRESULT i = send(lv, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED); i >= 0;
         i = send(lv, LVM_GETNEXTITEM, (WPARAM)i, LVNI_SELECTED))
        out(std::to_wstring(i));
    return 0;
}

int stateImage(const Args& a) {
    HWND lv = requireControl(a[0]);
    int row = rowArg(lv, a, 1);
    LRESULT s = send(lv, LVM_GETITEMSTATE, (WPARAM)row, LVIS_STATEIMAGEMASK);
    out(std::to_wstring((s & LVIS_STATEIMAGEMASK) >> 12));
    return 0;
}

double nowMs() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return 1000.0 * t.QuadPart / f.QuadPart;
}

// Polls the row count every 2 ms until it reaches want: prints the ms to the first row and
// the ms from the first row to the last, the list's own filling without the hand-over.
int fillTime(const Args& a) {
    HWND lv = requireControl(a[0]);
    const long long want = intArg(a, 1, L"rows");
    const double timeout = static_cast<double>(timeoutArg(a, 2, 600000));
    const double start = nowMs();
    double first = -1;
    for (long long n = 0; n < want; sleepMs(2)) {
        n = send(lv, LVM_GETITEMCOUNT);
        if (n > 0 && first < 0) first = nowMs();
        if (nowMs() - start > timeout) fail(L"the list did not fill");
    }
    out(std::to_wstring(static_cast<int>(first - start + 0.5)) + L" " + std::to_wstring(static_cast<int>(nowMs() - first + 0.5)));
    return 0;
}

}  // namespace

std::vector<Verb> listViewVerbs() {
    return {
        {L"lv-count", L"<ctl>  number of rows", 1, count},
        {L"lv-fill-time", L"<ctl> <rows> [timeout_ms]  ms to the first row, ms from it to <rows>", 2, fillTime},
        {L"lv-cell", L"<ctl> <row> <col>  text of one cell", 3, cellVerb},
        {L"lv-dump", L"<ctl>  every row, cells separated by tabs", 1, dump},
        {L"lv-columns", L"<ctl>  each column: title<TAB>width", 1, columns},
        {L"lv-image", L"<ctl> <row>  image index of the row", 2, image},
        {L"lv-select", L"<ctl> <row>  click the row (selects only it)", 2, select},
        {L"lv-dblclick", L"<ctl> <row>  double-click the row", 2, dblclick},
        {L"lv-tip", L"<ctl> <row> [timeout_ms]  rest the mouse on the row; text of the tip shown", 2, tip},
        {L"lv-selected", L"<ctl>  selected row numbers, one per line", 1, selected},
        {L"lv-state-image", L"<ctl> <row>  state image (1 unchecked, 2 checked)", 2, stateImage},
    };
}

}  // namespace drive

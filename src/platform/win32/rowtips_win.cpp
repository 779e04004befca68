#include "platform/win32/rowtips_win.h"

#include <commctrl.h>

#include <string>

#include "app/app.h"
#include "app/events.h"
#include "platform/win32/dpi_win.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win_ui.h"

namespace {

HWND gTip = nullptr, gList = nullptr;
int gRow = -1;  // the row the mouse is over

int RowUnderMouse() {
    LVHITTESTINFO hit{};
    GetCursorPos(&hit.pt);
    ScreenToClient(gList, &hit.pt);
    return static_cast<int>(SendMessageW(gList, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

// A new row under the mouse takes the old tip down; the tip asks again after its delay.
LRESULT CALLBACK ListProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_MOUSEMOVE) {
        const int row = RowUnderMouse();
        if (row != gRow) SendMessageW(gTip, TTM_POP, 0, 0);
        gRow = row;
    }
    return DefSubclassProc(h, msg, wParam, lParam);
}

}  // namespace

void AttachRowTips(HWND owner, HWND list) {
    gList = list;
    gTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr, nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(gTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SetWindowSubclass(list, ListProc, 0, 0);
}

bool AnswerRowTip(NMHDR& header) {
    if (!gTip || header.hwndFrom != gTip || header.code != TTN_GETDISPINFOW) return false;
    // Long reasons wrap at a width that follows the list's DPI.
    SendMessageW(gTip, TTM_SETMAXTIPWIDTH, 0, Scaled(400, GetDpiForWindow(gList)));
    static std::wstring text;  // lives until the tip has shown it
    const int row = RowUnderMouse();
    text = row < 0 ? L"" : Wide(RowTip(TheApp(), row));
    reinterpret_cast<NMTTDISPINFOW&>(header).lpszText = text.data();
    return true;
}

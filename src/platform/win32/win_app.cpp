// The main window's procedure and command dispatch.
#include <windows.h>
#include <commctrl.h>

#include "app/app.h"
#include "app/events.h"
#include "platform/layout.h"
#include "platform/win32/drives_win.h"
#include "platform/win32/handover_win.h"
#include "platform/win32/rowtips_win.h"
#include "platform/win32/win_system.h"
#include "platform/win32/win_ui.h"

namespace {

App* gApp = nullptr;
WinUi* gUi = nullptr;

bool IsListView(Ctl c) {
    const int id = static_cast<int>(c);
    return id >= 0 && id < kControlCount && FindControl(c).kind == Kind::ListView;
}

LRESULT OnNotify(NMHDR& n) {
    if (AnswerRowTip(n)) return 0;
    const auto ctl = static_cast<Ctl>(static_cast<int>(n.idFrom) - kFirstControlId);
    if (IsListView(ctl) && n.code == LVN_GETDISPINFOW) TheUi().answerDisplay(ctl, reinterpret_cast<NMLVDISPINFOW&>(n));
    if (IsListView(ctl) && n.code == LVN_ODFINDITEMW)
        return TheUi().findRow(ctl, reinterpret_cast<const NMLVFINDITEMW&>(n));
    if (ctl == Ctl::选择夹1 && n.code == TCN_SELCHANGE) TheUi().showPage(TheUi().currentTab());
    if (ctl == Ctl::超级列表框 && n.code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN&>(n).wVKey == VK_DELETE)
        RunClick(TheApp(), Ctl::按钮_删除);
    if (ctl == Ctl::超级列表框_扩展名 && n.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(n);
        if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED))
            RunEvent(TheApp(), Event::RuleSelected);
    }
    return 0;
}

// Enter presses the button the dialog manager asks for, as in a dialog box.
LRESULT DefaultButton() {
    const Ctl button = EnterButton(TheUi().focusedControl());
    return button == Ctl::Count ? 0 : MAKELRESULT(kFirstControlId + static_cast<int>(button), DC_HASDEFID);
}

// Labels and check boxes take the page's colour; read-only edits keep their own look.
LRESULT OnCtlColorStatic(HWND hwnd, HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control) - kFirstControlId;
    const bool onPage = id >= 0 && id < kControlCount && FindControl(static_cast<Ctl>(id)).page != kNoPage;
    const Kind kind = onPage ? FindControl(static_cast<Ctl>(id)).kind : Kind::Edit;
    if (kind == Kind::ReadOnlyEdit || kind == Kind::AboutEdit || kind == Kind::Edit)
        return DefWindowProcW(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    SetTextColor(dc, TheUi().labelColor(static_cast<Ctl>(id)));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(TheUi().pageBrush());
}

}  // namespace

App& TheApp() { return *gApp; }
WinUi& TheUi() { return *gUi; }

void BindApp(App& app, WinUi& ui) {
    gApp = &app;
    gUi = &ui;
}

void DispatchCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const bool control = lParam && id >= kFirstControlId && id < kFirstControlId + kControlCount;
    if (control && HIWORD(wParam) == BN_CLICKED) RunClick(TheApp(), static_cast<Ctl>(id - kFirstControlId));
    else if (control && HIWORD(wParam) == EN_CHANGE) TheUi().keepWithinLimit(static_cast<Ctl>(id - kFirstControlId));
    else if (!lParam && id >= kFirstMenuId && id < kFirstMenuId + static_cast<int>(MenuItem::Count))
        RunMenu(TheApp(), static_cast<MenuItem>(id - kFirstMenuId));
}

bool TurnsPage(HWND main, const MSG& m) {
    if (m.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0 || (m.hwnd != main && !IsChild(main, m.hwnd)))
        return false;
    if (m.wParam != VK_TAB && m.wParam != VK_NEXT && m.wParam != VK_PRIOR) return false;
    const bool back = m.wParam == VK_PRIOR || (m.wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0);
    TurnPage(TheApp(), back ? -1 : 1);
    return true;
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        TheUi().createControls(Wnd::Main, hwnd);
        OnMainCreated(TheApp(), ValueFromWindow(hwnd));
        return 0;
    case WM_COMMAND: DispatchCommand(wParam, lParam); return 0;
    case DM_GETDEFID: return DefaultButton();
    case WM_ACTIVATE:
        if (TheUi().keepFocus(LOWORD(wParam) != WA_INACTIVE)) return 0;
        break;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(hwnd, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SIZE: RunEvent(TheApp(), Event::MainResized); return 0;
    case WM_DPICHANGED:
        TheUi().moveToDpi(Wnd::Main, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        if (OnMainClosing(TheApp())) DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        TheUi().destroyWindow(Wnd::Progress);
        RunEvent(TheApp(), Event::MainDestroyed);
        TheUi().forgetWindow(Wnd::Main);
        PostQuitMessage(0);
        return 0;
    case WM_RUN_POSTED: reinterpret_cast<WinSystem*>(lParam)->runPosted(); return 0;
    case WM_COPYDATA: return OnHandOverReceived(TheApp(), reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_DEVICECHANGE: OnDeviceChange(TheApp(), wParam, lParam); return TRUE;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ProgressWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) TheUi().forgetWindow(Wnd::Progress);
    if (msg == WM_DPICHANGED) TheUi().moveToDpi(Wnd::Progress, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}


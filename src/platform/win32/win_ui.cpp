// Control, list-view, window and menu operations on the real windows.
#include "platform/win32/win_ui.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "platform/win32/overwrite_win.h"
#include "platform/win32/wide_text.h"

namespace {

std::string WindowText(HWND h) {
    std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    s.resize(static_cast<std::size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
    return Narrow(s);
}

}  // namespace

std::string WinUi::text(Ctl c) const { return WindowText(control(c)); }
void WinUi::setText(Ctl c, const std::string& t) { SetWindowTextW(control(c), Wide(t).c_str()); }

void WinUi::setTextColor(Ctl c, Rgb color) {
    colors_[static_cast<int>(c)] = color;
    InvalidateRect(control(c), nullptr, TRUE);
}

// The edit box counts UTF-16 units; every one is at least one GBK byte, so it stops at the
// limit in characters and keepWithinLimit takes back what passes it in bytes.
void WinUi::setTextLimit(Ctl c, std::size_t bytes) {
    textLimits_[static_cast<int>(c)] = bytes;
    keptTexts_[static_cast<int>(c)] = text(c);
    SendMessageW(control(c), EM_LIMITTEXT, bytes, 0);
}

void WinUi::keepWithinLimit(Ctl c) {
    const std::size_t limit = textLimits_[static_cast<int>(c)];
    std::string& kept = keptTexts_[static_cast<int>(c)];
    const std::string now = text(c);
    if (!limit || now.size() <= limit) {
        kept = now;
        return;
    }
    DWORD caret = 0;
    SendMessageW(control(c), EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    const std::size_t added = Wide(now).size() - Wide(kept).size();
    setText(c, kept);
    caret = caret > added ? caret - static_cast<DWORD>(added) : 0;
    SendMessageW(control(c), EM_SETSEL, caret, caret);
}

Ctl WinUi::focusedControl() const {
    const HWND main = window(Wnd::Main);
    const HWND focus = GetActiveWindow() == main ? GetFocus() : keptFocus_;
    for (int i = 0; i < kControlCount; ++i)
        if (focus && controls_[i] == focus) return static_cast<Ctl>(i);
    return Ctl::Count;
}

// A window that is not active gets the control back when it is activated.
void WinUi::setFocus(Ctl c) {
    if (GetActiveWindow() == window(Wnd::Main)) SetFocus(control(c));
    else keptFocus_ = control(c);
}

bool WinUi::keepFocus(bool active) {
    const HWND main = window(Wnd::Main);
    if (!active) {
        const HWND focus = GetFocus();
        if (focus && IsChild(main, focus)) keptFocus_ = focus;
        return false;
    }
    const HWND back = std::exchange(keptFocus_, nullptr);
    if (!back || !IsWindowEnabled(back) || !IsWindowVisible(back)) return false;
    SetFocus(back);
    return true;
}

bool WinUi::checked(Ctl c) const { return SendMessageW(control(c), BM_GETCHECK, 0, 0) == BST_CHECKED; }
void WinUi::setChecked(Ctl c, bool on) {
    SendMessageW(control(c), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}
bool WinUi::enabled(Ctl c) const { return IsWindowEnabled(control(c)); }
void WinUi::setEnabled(Ctl c, bool on) { EnableWindow(control(c), on); }

int WinUi::comboIndex(Ctl c) const { return static_cast<int>(SendMessageW(control(c), CB_GETCURSEL, 0, 0)); }
void WinUi::setComboIndex(Ctl c, int i) {
    // Windows clears the selection for an index the list does not hold; Wine keeps it.
    const int items = static_cast<int>(SendMessageW(control(c), CB_GETCOUNT, 0, 0));
    SendMessageW(control(c), CB_SETCURSEL, i >= 0 && i < items ? i : -1, 0);
}

void WinUi::setProgressRange(Ctl c, int min, int max) { SendMessageW(control(c), PBM_SETRANGE32, min, max); }
void WinUi::setProgressPos(Ctl c, int pos) { SendMessageW(control(c), PBM_SETPOS, pos, 0); }
int WinUi::progressPos(Ctl c) const { return static_cast<int>(SendMessageW(control(c), PBM_GETPOS, 0, 0)); }
void WinUi::setProgressColor(Ctl c, Rgb color) { SendMessageW(control(c), PBM_SETBARCOLOR, 0, color); }

int WinUi::currentTab() const { return static_cast<int>(SendMessageW(control(Ctl::选择夹1), TCM_GETCURSEL, 0, 0)); }
void WinUi::selectTab(int page) {
    SendMessageW(control(Ctl::选择夹1), TCM_SETCURSEL, page, 0);
    showPage(page);
}

bool WinUi::windowCreated(Wnd w) const { return window(w) && IsWindow(window(w)); }
bool WinUi::windowVisible(Wnd w) const { return windowCreated(w) && IsWindowVisible(window(w)); }
void WinUi::showWindow(Wnd w, bool visible) {
    if (windowCreated(w)) ShowWindow(window(w), visible ? SW_SHOW : SW_HIDE);
}
bool WinUi::windowMinimized(Wnd w) const { return windowCreated(w) && IsIconic(window(w)); }
void WinUi::restoreWindow(Wnd w) {
    // Back to normal without activating: bringing it to the front is the caller's choice.
    if (windowMinimized(w)) ShowWindow(window(w), SW_SHOWNOACTIVATE);
}
void WinUi::bringToFront(Wnd w) {
    if (!windowCreated(w)) return;
    SetForegroundWindow(window(w));
    BringWindowToTop(window(w));
}
std::string WinUi::title(Wnd w) const { return WindowText(window(w)); }
void WinUi::setTitle(Wnd w, const std::string& t) { SetWindowTextW(window(w), Wide(t).c_str()); }
void WinUi::destroyWindow(Wnd w) {
    if (windowCreated(w)) DestroyWindow(window(w));
    forgetWindow(w);
}
void WinUi::setMiniPicture(MiniPicture p) { SetMiniWindowPicture(p); }

void WinUi::setProgressWindowText(ProgressCtl c, const std::string& t) {
    SetWindowTextW(progressControls_[static_cast<int>(c)], Wide(t).c_str());
}
void WinUi::setProgressWindowPos(int pos) {
    SendMessageW(progressControls_[static_cast<int>(ProgressCtl::进度条1)], PBM_SETPOS, pos, 0);
}

bool WinUi::menuItemEnabled(MenuItem m) const {
    const Wnd w = m <= MenuItem::托盘_退出 ? Wnd::Main : Wnd::Mini;
    const UINT state = GetMenuState(menu(w), kFirstMenuId + static_cast<int>(m), MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void WinUi::setMenuItemEnabled(MenuItem m, bool on) {
    const Wnd w = m <= MenuItem::托盘_退出 ? Wnd::Main : Wnd::Mini;
    EnableMenuItem(menu(w), kFirstMenuId + static_cast<int>(m), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

void WinUi::popUpMenu(Wnd w) {
    HWND owner = window(w);
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(owner);  // so the menu closes when the user clicks elsewhere
    TrackPopupMenu(menu(w), TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}

HWND WinUi::boxOwner() const {
    // Off the main thread a box must not own (and so block) the main window.
    return GetCurrentThreadId() == mainThread_ ? window(Wnd::Main) : nullptr;
}

int WinUi::messageBox(const std::string& text, const std::string& title, unsigned style) {
    HWND owner = boxOwner();
    if (!owner) style |= MB_SETFOREGROUND | MB_TOPMOST;
    return MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), style);
}

OverwriteAnswer WinUi::askOverwrite(const std::string& text, const std::string& title, const std::string& details) {
    return AskOverwrite(FindTaskDialog(), boxOwner(), window(Wnd::Main), text, title, details);
}

void WinUi::pumpEvents() {
    if (GetCurrentThreadId() != mainThread_) return;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
            return;
        }
        if (!IsDialogMessageW(window(Wnd::Main), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

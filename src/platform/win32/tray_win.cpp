// The tray on Windows: the shell's notification record, icons from ICO images, and
// the hook on the main window's procedure.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstddef>

#include "app/app.h"
#include "app/events.h"
#include "platform/win32/win_shell.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win_ui.h"

namespace {

// The field keeps its terminating zero.
template <std::size_t N>
void CopyField(wchar_t (&field)[N], const std::string& text) {
    const std::wstring cut = WideCut(text, N - 1);
    std::copy(cut.begin(), cut.end(), field);
    field[cut.size()] = L'\0';
}

HWND hookedWindow = nullptr;
WNDPROC savedWndProc = nullptr;  // the hooked window's own procedure

LRESULT CALLBACK TrayWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    // WM_DESTROY unhooks, and still goes on to the procedure saved before.
    const WNDPROC previous = savedWndProc;
    if (TrayTakesMessage(TheApp(), msg, lParam)) return 0;
    return CallWindowProcW(previous, window, msg, wParam, lParam);
}

}  // namespace

bool WinShell::notifyIcon(TrayOp op, const TrayRecord& r) {
    // The layout that ends with the balloon fields: the shell accepts it on every version.
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = reinterpret_cast<HWND>(r.hWnd);
    data.uID = r.uID;
    data.uFlags = r.uFlags;
    data.uCallbackMessage = r.uCallbackMessage;
    data.hIcon = reinterpret_cast<HICON>(r.hIcon);
    CopyField(data.szTip, r.szTip);
    data.dwState = r.dwState;
    data.dwStateMask = r.dwStateMask;
    CopyField(data.szInfo, r.szInfo);
    data.uTimeout = r.uTimeout;
    CopyField(data.szInfoTitle, r.szInfoTitle);
    data.dwInfoFlags = r.dwInfoFlags;
    return Shell_NotifyIconW(static_cast<DWORD>(op), &data) != FALSE;
}

IconHandle WinShell::iconFromImage(const unsigned char* image, std::size_t size) {
    // At the tray's size for the system DPI, scaled from the image when it is another size.
    HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(image), static_cast<DWORD>(size), TRUE, 0x30000,
                                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
    return reinterpret_cast<IconHandle>(icon);
}

IconHandle WinShell::mainWindowSmallIcon() {
    return static_cast<IconHandle>(SendMessageW(TheUi().window(Wnd::Main), WM_GETICON, ICON_SMALL, 0));
}

std::uintptr_t WinShell::hookMainWindow() {
    hookedWindow = TheUi().window(Wnd::Main);
    savedWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hookedWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrayWindowProc)));
    return reinterpret_cast<std::uintptr_t>(hookedWindow);
}

void WinShell::unhookMainWindow() {
    if (savedWndProc) SetWindowLongPtrW(hookedWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedWndProc));
    savedWndProc = nullptr;
}

std::uint32_t WinShell::registerWindowMessage(const std::string& name) {
    return RegisterWindowMessageA(name.c_str());
}

// The tray on Windows: the shell's notification record, icons from ICO images, and
// the hook on the main window's procedure.
#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstring>

#include "app/app.h"
#include "platform/win32/win_shell.h"
#include "platform/win32/win_ui.h"
#include "tray/tray.h"

// The record goes out with the size of the layout that ends with the balloon fields
// (488 bytes only with 32-bit pointers); the shell accepts it on every version.
static_assert(kTrayRecordSize == NOTIFYICONDATAA_V2_SIZE);
static_assert(sizeof(TrayRecord::szTip) == sizeof(NOTIFYICONDATAA::szTip));
static_assert(sizeof(TrayRecord::szInfo) == sizeof(NOTIFYICONDATAA::szInfo));
static_assert(sizeof(TrayRecord::szInfoTitle) == sizeof(NOTIFYICONDATAA::szInfoTitle));

namespace {

HWND hookedWindow = nullptr;
WNDPROC savedWndProc = nullptr;  // the hooked window's own procedure

LRESULT CALLBACK TrayWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    // WM_DESTROY unhooks, and still goes on to the procedure saved before.
    const WNDPROC previous = savedWndProc;
    if (TrayWindowMessage(TheApp(), msg, lParam) == TrayMessage::Handled) return 0;
    return CallWindowProcA(previous, window, msg, wParam, lParam);
}

}  // namespace

bool WinShell::notifyIcon(TrayOp op, const TrayRecord& r) {
    NOTIFYICONDATAA data{};
    data.cbSize = r.cbSize;
    data.hWnd = reinterpret_cast<HWND>(r.hWnd);
    data.uID = r.uID;
    data.uFlags = r.uFlags;
    data.uCallbackMessage = r.uCallbackMessage;
    data.hIcon = reinterpret_cast<HICON>(r.hIcon);
    std::memcpy(data.szTip, r.szTip, sizeof data.szTip);
    data.dwState = r.dwState;
    data.dwStateMask = r.dwStateMask;
    std::memcpy(data.szInfo, r.szInfo, sizeof data.szInfo);
    data.uTimeout = r.uTimeout;
    std::memcpy(data.szInfoTitle, r.szInfoTitle, sizeof data.szInfoTitle);
    data.dwInfoFlags = r.dwInfoFlags;
    return Shell_NotifyIconA(static_cast<DWORD>(op), &data) != FALSE;
}

IconHandle WinShell::iconFromImage(const unsigned char* image, std::size_t size) {
    // At the tray's size for the system DPI, scaled from the image when it is another size.
    HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(image), static_cast<DWORD>(size), TRUE, 0x30000,
                                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
    return reinterpret_cast<IconHandle>(icon);
}

IconHandle WinShell::mainWindowSmallIcon() {
    return static_cast<IconHandle>(SendMessageA(TheUi().window(Wnd::Main), WM_GETICON, ICON_SMALL, 0));
}

std::uintptr_t WinShell::hookMainWindow() {
    hookedWindow = TheUi().window(Wnd::Main);
    savedWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hookedWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrayWindowProc)));
    return reinterpret_cast<std::uintptr_t>(hookedWindow);
}

void WinShell::unhookMainWindow() {
    if (savedWndProc) SetWindowLongPtrA(hookedWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedWndProc));
    savedWndProc = nullptr;
}

std::uint32_t WinShell::registerWindowMessage(const std::string& name) {
    return RegisterWindowMessageA(name.c_str());
}

// The floating drop window: a borderless 48 x 48 picture (at 96 DPI) near the top right
// corner, above other windows and without a taskbar button.
#include <windows.h>

#include "app/app.h"
#include "app/events.h"
#include "platform/win32/dpi_win.h"
#include "platform/win32/frames_win.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win_ui.h"

namespace {

constexpr int kSize = 48;
constexpr UINT_PTR kAnimationTimer = 1;
constexpr const wchar_t* kPictureClass = L"RuzoriZE3MiniPicture";

// 图片框1 and the frames it shows; the main thread alone touches them.
struct Picture {
    HWND window = nullptr;
    std::vector<PictureFrame> idle, busy;
    bool busyShown = false;
    std::size_t frame = 0;
} gPicture;

const std::vector<PictureFrame>& Shown() { return gPicture.busyShown ? gPicture.busy : gPicture.idle; }

void ShowFrame(std::size_t frame) {
    gPicture.frame = frame;
    const auto& frames = Shown();
    if (frames.size() > 1) SetTimer(gPicture.window, kAnimationTimer, frames[frame].delayMs, nullptr);
    InvalidateRect(gPicture.window, nullptr, FALSE);
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    const auto& frames = Shown();
    if (gPicture.frame < frames.size()) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, frames[gPicture.frame].bitmap);
        BitBlt(dc, 0, 0, ps.rcPaint.right, ps.rcPaint.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    EndPaint(window, &ps);
}

LRESULT CALLBACK PictureProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: Paint(window); return 0;
    case WM_ERASEBKGND: return 1;  // the frame covers all of it
    case WM_TIMER:
        // A tick queued before a switch to a still picture may still arrive.
        if (Shown().size() > 1) ShowFrame((gPicture.frame + 1) % Shown().size());
        return 0;
    case WM_LBUTTONDBLCLK: RunEvent(TheApp(), Event::MiniDoubleClicked); return 0;
    case WM_RBUTTONDOWN: RunEvent(TheApp(), Event::MiniRightClicked); return 0;
    case WM_DESTROY:
        KillTimer(window, kAnimationTimer);
        FreeFrames(gPicture.idle);
        FreeFrames(gPicture.busy);
        gPicture.window = nullptr;
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

// The frames drawn at the window's size, so the pictures stay sharp at any DPI.
void RenderPictures(UINT dpi) {
    FreeFrames(gPicture.idle);
    FreeFrames(gPicture.busy);
    gPicture.idle = RenderFrames(MiniIdlePicture, Scaled(kSize, dpi));
    gPicture.busy = RenderFrames(MiniBusyPicture, Scaled(kSize, dpi));
    gPicture.frame = 0;
}

void CreatePicture(HWND mini) {
    const UINT dpi = GetDpiForWindow(mini);
    RenderPictures(dpi);
    const auto id = static_cast<INT_PTR>(kFirstControlId + static_cast<int>(Ctl::图片框1));
    gPicture.window = CreateWindowExW(0, kPictureClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, Scaled(kSize, dpi),
                                      Scaled(kSize, dpi), mini, reinterpret_cast<HMENU>(id), GetModuleHandleW(nullptr),
                                      nullptr);
}

void OnDpiChanged(HWND mini, UINT dpi, const RECT& suggested) {
    const int size = Scaled(kSize, dpi);
    SetWindowPos(mini, nullptr, suggested.left, suggested.top, size, size, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(gPicture.window, nullptr, 0, 0, size, size, SWP_NOZORDER | SWP_NOACTIVATE);
    KillTimer(gPicture.window, kAnimationTimer);
    RenderPictures(dpi);
    ShowFrame(0);
}

LRESULT CALLBACK MiniProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        CreatePicture(window);
        RunEvent(TheApp(), Event::MiniCreated);
        return 0;
    case WM_COMMAND: DispatchCommand(wParam, lParam); return 0;  // the mini menu
    case WM_DPICHANGED: OnDpiChanged(window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_CLOSE: RunEvent(TheApp(), Event::MiniClosing); break;        // then closes
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

void RegisterClasses() {
    static const std::wstring miniClass = Wide(kMiniWindowClass);
    static const bool registered = [] {
        WNDCLASSW mini{};
        mini.lpfnWndProc = MiniProc;
        mini.hInstance = GetModuleHandleW(nullptr);
        mini.hCursor = LoadCursor(nullptr, IDC_ARROW);
        mini.lpszClassName = miniClass.c_str();
        WNDCLASSW picture = mini;
        picture.style = CS_DBLCLKS;
        picture.lpfnWndProc = PictureProc;
        picture.lpszClassName = kPictureClass;
        return RegisterClassW(&mini) && RegisterClassW(&picture);
    }();
    (void)registered;
}

}  // namespace

HWND CreateMiniWindow(HWND owner) {
    RegisterClasses();
    const UINT dpi = GetDpiForSystem();
    const int left = GetSystemMetrics(SM_CXSCREEN) - Scaled(100, dpi);
    return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, Wide(kMiniWindowClass).c_str(), L"", WS_POPUP, left, Scaled(200, dpi),
                           Scaled(kSize, dpi), Scaled(kSize, dpi), owner, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND MiniPictureWindow() { return gPicture.window; }

void SetMiniWindowPicture(MiniPicture p) {
    if (!gPicture.window) return;
    KillTimer(gPicture.window, kAnimationTimer);
    gPicture.busyShown = p == MiniPicture::Busy;
    ShowFrame(0);
}

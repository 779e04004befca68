// The tray hook, the icons and the mini window against the real system.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "platform/sim/sim_platform.h"
#include "platform/win32/frames_win.h"
#include "platform/win32/win_shell.h"
#include "platform/win32/win_ui.h"
#include "tray/ico.h"
#include "tray/tray.h"

namespace {

// A real main window with the real shell behind the tray; files and INI stay simulated.
struct RealTray : ::testing::Test {
    SimPlatform sim;
    WinUi ui;
    WinShell shell;
    App app{ui, sim.fs, sim.ini, sim.sys, shell};
    HWND main = nullptr;

    void SetUp() override {
        BindApp(app, ui);
        RegisterTaskbarCreated(app);
        main = ui.createMainWindow(GetModuleHandleA(nullptr));
        ASSERT_TRUE(main);
    }
    void TearDown() override {
        app.exitRequested = 1;
        DestroyWindow(main);
        MSG m;
        while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    LONG_PTR procedure() const { return GetWindowLongPtrA(main, GWLP_WNDPROC); }
    LONG_PTR classProcedure() const { return GetClassLongPtrA(main, GCLP_WNDPROC); }
};

// Runs the message loop for a while, so timers fire and windows paint.
void Pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    MSG m;
    while (GetTickCount() < end) {
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        Sleep(10);
    }
}

// What a 48 x 48 window shows on the screen, pixel by pixel.
std::vector<DWORD> Shown(HWND w) {
    HDC screen = GetDC(w), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 48, 48);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, 48, 48, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 48, -48, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(48 * 48);
    GetDIBits(memory, bitmap, 0, 48, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(w, screen);
    return pixels;
}

// Icons in the tray window Wine shows when there is no desktop tray.
int TrayIconCount() {
    HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
    int n = 0;
    for (HWND c = FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr); tray && c;
         c = FindWindowExA(tray, c, "__winex11_tray_icon", nullptr))
        ++n;
    return n;
}

SIZE BitmapSize(HBITMAP b) {
    BITMAP info{};
    GetObjectA(b, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

}  // namespace

TEST(WinIcons, TrayIconImagesBecomeIcons) {
    WinShell shell;
    for (ResourceBytes ico : {IdleTrayIcon, BusyTrayIcon}) {
        HICON icon = reinterpret_cast<HICON>(IconFromIcoBytes(shell, ico, 0));
        ASSERT_TRUE(icon);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_TRUE(info.fIcon);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    const std::vector<unsigned char> junk(64, 0x5A);
    EXPECT_EQ(shell.iconFromImage(junk.data(), junk.size()), 0u);
}

TEST(WinPictures, IdleIsOneFrameAndBusyAnimatesFiveAllFittedTo48) {
    auto idle = RenderFrames(MiniIdlePicture, 48), busy = RenderFrames(MiniBusyPicture, 48);
    ASSERT_EQ(idle.size(), 1u);
    ASSERT_EQ(busy.size(), 5u);
    for (const auto* frames : {&idle, &busy}) {
        for (const PictureFrame& f : *frames) {
            EXPECT_EQ(BitmapSize(f.bitmap).cx, 48);
            EXPECT_EQ(BitmapSize(f.bitmap).cy, 48);
        }
    }
    EXPECT_EQ(busy[0].delayMs, 150u);  // the GIF states 15 hundredths
    const std::vector<unsigned char> junk(100, 0x11);
    EXPECT_TRUE(RenderFrames(junk, 48).empty());
    FreeFrames(idle);
    FreeFrames(busy);
}

TEST_F(RealTray, HookRoutesTheCallbackAndIsUndoneOnRemove) {
    ASSERT_NE(procedure(), classProcedure());
    ShowWindow(main, SW_HIDE);
    EXPECT_EQ(SendMessageA(main, kTrayCallbackMessage, 0, WM_LBUTTONDOWN), 0);
    EXPECT_TRUE(IsWindowVisible(main));
    // Everything else still reaches the window's own procedure.
    SetWindowTextA(main, "标题");
    EXPECT_EQ(ui.title(Wnd::Main), "标题");

    RemoveTrayIcon(app);
    EXPECT_EQ(procedure(), classProcedure());
    RemoveTrayIcon(app);
    EXPECT_EQ(procedure(), classProcedure());
}

TEST_F(RealTray, ShellRestartBringsTheIconBack) {
    const int shown = TrayIconCount();
    ASSERT_GE(shown, 1);
    ShowTrayBalloon(app, kProgramTitle, "提示", 1);
    NOTIFYICONDATAA gone{};
    gone.cbSize = sizeof gone;
    gone.hWnd = main;
    gone.uID = 1;
    Shell_NotifyIconA(NIM_DELETE, &gone);  // as a restarted shell has forgotten it
    EXPECT_EQ(TrayIconCount(), shown - 1);
    SendMessageA(main, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(TrayIconCount(), shown);
}

TEST_F(RealTray, BusyPictureAnimatesIdlePictureStandsStill) {
    ShowWindow(ui.window(Wnd::Mini), SW_SHOWNOACTIVATE);
    HWND picture = MiniPictureWindow();
    ui.setMiniPicture(MiniPicture::Busy);
    Pump(100);
    const auto busy = Shown(picture);
    Pump(300);  // two frame delays of 150 ms
    EXPECT_NE(Shown(picture), busy);

    ui.setMiniPicture(MiniPicture::Idle);
    Pump(100);
    const auto idle = Shown(picture);
    EXPECT_NE(idle, busy);
    Pump(300);
    EXPECT_EQ(Shown(picture), idle);
}

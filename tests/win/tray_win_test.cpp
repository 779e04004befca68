// The tray hook, the icons and the mini window against the real system.
#include <gtest/gtest.h>

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

TEST_F(RealTray, MinimisingHidesTheMainWindowAndShowsTheMiniWindowAtItsPlace) {
    ShowWindow(main, SW_SHOW);
    ShowWindow(main, SW_MINIMIZE);
    EXPECT_FALSE(IsWindowVisible(main));
    HWND mini = ui.window(Wnd::Mini);
    ASSERT_TRUE(mini);
    EXPECT_TRUE(IsWindowVisible(mini));
    RECT r;
    GetWindowRect(mini, &r);
    EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) - 100);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.right - r.left, 48);
    EXPECT_EQ(r.bottom - r.top, 48);
    EXPECT_EQ(GetWindow(mini, GW_OWNER), main);
    EXPECT_TRUE(GetWindowLongA(mini, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    HWND picture = GetDlgItem(mini, kFirstControlId + static_cast<int>(Ctl::图片框1));
    ASSERT_EQ(picture, MiniPictureWindow());
    GetClientRect(picture, &r);
    EXPECT_EQ(r.right, 48);
    EXPECT_EQ(r.bottom, 48);

    SendMessageA(picture, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(IsIconic(main));
    EXPECT_TRUE(IsWindowVisible(mini));
}

#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"
#include "tray/tray.h"

namespace {

constexpr unsigned kDestroy = 0x2, kSize = 0x5, kMouseMove = 0x200, kLButtonDown = 0x201,
                   kLButtonUp = 0x202, kLButtonDblClk = 0x203, kRButtonDown = 0x204, kRButtonDblClk = 0x206;

struct Hooked : SimPlatform {
    unsigned taskbarCreated = 0;
    Hooked() {
        RegisterTaskbarCreated(app);
        taskbarCreated = 0xC000 + static_cast<unsigned>(shell.registeredMessages.size()) - 1;
        InstallTrayIcon(app, IdleTrayIcon, kProgramTitle);
        ui.loadWindow(Wnd::Mini);
        ui.showWindow(Wnd::Mini, false);
    }
    void hideMinimised() {
        ui.win(Wnd::Main).minimized = true;
        ui.win(Wnd::Main).visible = false;
    }
};

}  // namespace

TEST(TrayHook, DestroyRemovesIconAndHookThenPassesOn) {
    Hooked s;
    EXPECT_EQ(s.shell.registeredMessages, std::vector<std::string>{"TaskbarCreated"});
    EXPECT_EQ(TrayWindowMessage(s.app, kDestroy, 0), TrayMessage::PassOn);
    EXPECT_FALSE(s.shell.hooked);
    EXPECT_EQ(s.shell.notifications.back().op, TrayOp::Delete);
}

TEST(TrayHook, CallbackGoesToTheTrayHandlerAndStops) {
    Hooked s;
    s.hideMinimised();
    EXPECT_EQ(TrayWindowMessage(s.app, kTrayCallbackMessage, kLButtonDown), TrayMessage::Handled);
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Main));
    EXPECT_FALSE(s.ui.windowMinimized(Wnd::Main));
    EXPECT_EQ(s.shell.notifications.size(), 1u);
}

TEST(TrayHook, TaskbarCreatedAddsTheIconAgainWhole) {
    Hooked s;
    ShowTrayBalloon(s.app, kProgramTitle, "提示", 1);
    EXPECT_EQ(TrayWindowMessage(s.app, s.taskbarCreated, 0), TrayMessage::PassOn);
    ASSERT_EQ(s.shell.notifications.size(), 3u);
    const SimNotify& again = s.shell.notifications.back();
    EXPECT_EQ(again.op, TrayOp::Add);
    EXPECT_EQ(again.record.uFlags, 7u);
    EXPECT_EQ(again.record.hIcon, s.shell.notifications[0].record.hIcon);
    EXPECT_EQ(again.record.szTip, kProgramTitle);
    EXPECT_EQ(again.record.uCallbackMessage, 123456u);
}

TEST(TrayHook, OtherMessagesPassOnUntouched) {
    Hooked s;
    for (unsigned msg : {kSize, 0u, 0x10u, 0x111u, s.taskbarCreated + 1}) {
        EXPECT_EQ(TrayWindowMessage(s.app, msg, kLButtonDown), TrayMessage::PassOn) << msg;
    }
    EXPECT_EQ(s.shell.notifications.size(), 1u);
    EXPECT_TRUE(s.shell.hooked);
    EXPECT_TRUE(s.ui.poppedUp.empty());
}

TEST(TrayHook, WithoutTheRegisteredMessageNothingIsReAdded) {
    SimPlatform s;
    InstallTrayIcon(s.app, IdleTrayIcon, kProgramTitle);
    EXPECT_EQ(TrayWindowMessage(s.app, 0, 0), TrayMessage::PassOn);  // WM_NULL
    EXPECT_EQ(s.shell.notifications.size(), 1u);
}

TEST(TrayEvent, LeftClicksRestoreAndEveryEventBringsTheWindowToFront) {
    for (unsigned m : {kLButtonDown, kLButtonDblClk}) {
        Hooked s;
        s.hideMinimised();
        OnTrayEvent(s.app, m);
        EXPECT_TRUE(s.ui.windowVisible(Wnd::Main)) << m;
        EXPECT_FALSE(s.ui.windowMinimized(Wnd::Main)) << m;
        EXPECT_EQ(s.ui.win(Wnd::Main).frontCount, 1) << m;
        EXPECT_TRUE(s.ui.poppedUp.empty());
    }
    for (unsigned m : {kMouseMove, kLButtonUp, kRButtonDblClk}) {
        Hooked s;
        s.hideMinimised();
        OnTrayEvent(s.app, m);
        EXPECT_FALSE(s.ui.windowVisible(Wnd::Main)) << m;
        EXPECT_EQ(s.ui.win(Wnd::Main).frontCount, 1) << m;
        EXPECT_TRUE(s.ui.poppedUp.empty());
    }
}

TEST(TrayEvent, RightClickPopsUpTheTrayMenu) {
    Hooked s;
    s.hideMinimised();
    OnTrayEvent(s.app, kRButtonDown);
    EXPECT_EQ(s.ui.poppedUp, std::vector<Wnd>{Wnd::Main});
    EXPECT_FALSE(s.ui.windowVisible(Wnd::Main));
    EXPECT_EQ(s.ui.win(Wnd::Main).frontCount, 1);
}

TEST(Minimise, HidesTheMainWindowShowsTheMiniWindowAndHints) {
    Hooked s;
    s.ui.win(Wnd::Main).minimized = true;
    OnMainWindowSizeChanged(s.app);
    EXPECT_FALSE(s.ui.windowVisible(Wnd::Main));
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Mini));
    const TrayRecord& r = s.shell.notifications.back().record;
    EXPECT_EQ(r.uFlags, 0x10u);
    EXPECT_EQ(r.szInfoTitle, kProgramTitle);
    EXPECT_EQ(r.szInfo, "窗口已最小化！双击或单击左键显示！");
    EXPECT_EQ(r.dwInfoFlags, 1u);
}

TEST(Minimise, DuringACopyJobWithoutTheHint) {
    Hooked s;
    s.app.copyBusy = 1;
    s.ui.win(Wnd::Main).minimized = true;
    OnMainWindowSizeChanged(s.app);
    EXPECT_FALSE(s.ui.windowVisible(Wnd::Main));
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Mini));
    EXPECT_EQ(s.shell.notifications.size(), 1u);
}

TEST(Minimise, OtherSizeChangesDoNothing) {
    Hooked s;
    OnMainWindowSizeChanged(s.app);
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Main));
    EXPECT_FALSE(s.ui.windowVisible(Wnd::Mini));
    EXPECT_EQ(s.shell.notifications.size(), 1u);
}

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/sim/sim_platform.h"
#include "tray/tray.h"

namespace {

const TrayRecord& Last(const SimShell& shell) { return shell.notifications.back().record; }

struct Installed : SimPlatform {
    Installed() { InstallTrayIcon(app, IdleTrayIcon, kProgramTitle); }
};

}  // namespace

TEST(TrayRecord, InstallHooksTheWindowAndAddsTheIdleIcon) {
    Installed s;
    ASSERT_EQ(s.shell.notifications.size(), 1u);
    EXPECT_EQ(s.shell.notifications[0].op, TrayOp::Add);
    const TrayRecord& r = Last(s.shell);
    EXPECT_EQ(r.hWnd, s.shell.mainWindow);
    EXPECT_EQ(r.uID, 1u);
    EXPECT_EQ(r.uFlags, 7u);
    EXPECT_EQ(r.uCallbackMessage, 123456u);
    EXPECT_NE(r.hIcon, 0u);
    EXPECT_EQ(s.shell.iconImageSizes, std::vector<std::size_t>{872});  // the 16 x 16 image
    EXPECT_EQ(r.szTip, kProgramTitle);
    EXPECT_TRUE(s.shell.hooked);
    EXPECT_EQ(r.dwInfoFlags, 0u);
}

TEST(TrayRecord, InstallWithoutIconBytesUsesTheWindowsSmallIcon) {
    SimPlatform s;
    InstallTrayIcon(s.app, {}, "tip");
    EXPECT_EQ(Last(s.shell).hIcon, s.shell.smallIcon);
    InstallTrayIcon(s.app, {}, "tip");
    EXPECT_EQ(s.shell.hookChanges, 1);  // a second install must not hook the hook
}

TEST(TrayRecord, SetTrayIconChangesOnlyThePicture) {
    Installed s;
    const IconHandle idle = Last(s.shell).hIcon;
    ShowTrayBalloon(s.app, "t", "x", 2);
    SetTrayIcon(s.app, BusyTrayIcon);
    EXPECT_EQ(s.shell.notifications.back().op, TrayOp::Modify);
    EXPECT_EQ(Last(s.shell).uFlags, 7u);
    EXPECT_NE(Last(s.shell).hIcon, idle);
    EXPECT_EQ(s.shell.iconImageSizes.back(), 2216u);
    EXPECT_EQ(Last(s.shell).szTip, kProgramTitle);
    EXPECT_EQ(Last(s.shell).uCallbackMessage, 123456u);

    const auto sent = s.shell.notifications.size();
    SetTrayIcon(s.app, BusyTrayIcon.first(100));  // no image: the picture stays
    EXPECT_EQ(s.shell.notifications.size(), sent);
}

TEST(TrayRecord, EachPictureBecomesAnIconOnlyOnce) {
    Installed s;  // the idle icon was made at install
    for (int job = 0; job < 3; ++job) {
        SetTrayIcon(s.app, BusyTrayIcon);
        SetTrayIcon(s.app, IdleTrayIcon);
    }
    EXPECT_EQ(s.shell.iconImageSizes.size(), 2u);
    EXPECT_EQ(s.shell.notifications.size(), 7u);
    EXPECT_EQ(Last(s.shell).hIcon, s.shell.notifications.front().record.hIcon);
}

TEST(TrayRecord, BalloonSetsTitleTextAndKindOnly) {
    Installed s;
    const IconHandle icon = Last(s.shell).hIcon;
    ShowTrayBalloon(s.app, kProgramTitle, "正在复制 a.mp3", 3);
    EXPECT_EQ(s.shell.notifications.back().op, TrayOp::Modify);
    const TrayRecord& r = Last(s.shell);
    EXPECT_EQ(r.uFlags, 0x10u);
    EXPECT_EQ(r.szInfoTitle, kProgramTitle);
    EXPECT_EQ(r.szInfo, "正在复制 a.mp3");
    EXPECT_EQ(r.dwInfoFlags, 3u);
    EXPECT_EQ(r.hIcon, icon);
    EXPECT_EQ(r.uTimeout, 0u);
    ShowTrayBalloon(s.app, "t", "short", 1);  // a shorter text leaves nothing of the longer one
    EXPECT_EQ(Last(s.shell).szInfo.find("a.mp3"), std::string::npos);
}

TEST(TrayRecord, RemoveUnhooksOnceAndDeletesEveryTime) {
    Installed s;
    RemoveTrayIcon(s.app);
    RemoveTrayIcon(s.app);
    EXPECT_FALSE(s.shell.hooked);
    EXPECT_EQ(s.shell.hookChanges, 2);  // hook, unhook
    ASSERT_EQ(s.shell.notifications.size(), 3u);
    EXPECT_EQ(s.shell.notifications[1].op, TrayOp::Delete);
    EXPECT_EQ(s.shell.notifications[2].op, TrayOp::Delete);
    EXPECT_EQ(s.shell.notifications[2].record.uID, 1u);
    EXPECT_EQ(s.shell.notifications[2].record.hWnd, s.shell.mainWindow);
}

TEST(TrayRecord, EachThreadsChangeGoesOutWhole) {
    Installed s;
    constexpr int kEach = 2000;
    std::thread worker([&] {
        for (int i = 0; i < kEach; ++i) ShowTrayBalloon(s.app, "w", "worker", 1);
    });
    for (int i = 0; i < kEach; ++i) SetTrayIcon(s.app, i % 2 ? IdleTrayIcon : BusyTrayIcon);
    worker.join();
    int balloons = 0, icons = 0;
    for (const auto& n : s.shell.notifications) (n.record.uFlags == 0x10 ? balloons : icons)++;
    EXPECT_EQ(balloons, kEach);
    EXPECT_EQ(icons, kEach + 1);
}

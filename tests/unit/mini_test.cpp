#include <gtest/gtest.h>

#include "app/startup.h"
#include "platform/sim/sim_platform.h"
#include "tray/mini.h"
#include "tray/tray.h"

namespace {

// The program started, with the mini window's created handler wired as on Windows.
struct Started : SimPlatform {
    Started() {
        ui.onLoad = [this](Wnd w) {
            if (w == Wnd::Mini) InitMiniWindow(app);
        };
        ui.miniPicture = MiniPicture::Busy;
        InitMainWindow(app, 0x10A2);
    }
    void minimise() {
        ui.win(Wnd::Main).minimized = true;
        OnMainWindowSizeChanged(app);
    }
};

}  // namespace

TEST(MiniWindow, CreatedAtStartWithItsDropTargetAndIdlePicture) {
    Started s;
    EXPECT_TRUE(s.ui.windowCreated(Wnd::Mini));
    EXPECT_EQ(s.ui.windowVisible(Wnd::Mini), s.ui.checked(Ctl::选择框_迷你));
    EXPECT_TRUE(s.shell.dropTargets.count(Ctl::图片框1));
    EXPECT_EQ(s.ui.miniPicture, MiniPicture::Idle);
}

TEST(MiniWindow, CloseRequestRevokesTheDropTarget) {
    Started s;
    QueryCloseMiniWindow(s.app);
    EXPECT_FALSE(s.shell.dropTargets.count(Ctl::图片框1));
    EXPECT_TRUE(s.shell.dropTargets.count(Ctl::超级列表框));
}

TEST(MiniWindow, DoubleClickShowsAHiddenMainWindowWithoutRaisingIt) {
    Started s;
    s.minimise();
    ShowMainWindowFromMini(s.app);
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Main));
    EXPECT_FALSE(s.ui.windowMinimized(Wnd::Main));
    EXPECT_EQ(s.ui.win(Wnd::Main).frontCount, 0);
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Mini));
}

TEST(MiniWindow, DoubleClickLeavesAVisibleMainWindowAlone) {
    Started s;
    s.ui.win(Wnd::Main).minimized = true;  // minimised but still shown
    ShowMainWindowFromMini(s.app);
    EXPECT_TRUE(s.ui.windowMinimized(Wnd::Main));
    EXPECT_EQ(s.ui.win(Wnd::Main).frontCount, 0);
}

TEST(MiniWindow, RightButtonPopsUpItsMenu) {
    Started s;
    PopUpMiniMenu(s.app);
    EXPECT_EQ(s.ui.poppedUp, std::vector<Wnd>{Wnd::Mini});
}

TEST(MiniVisibility, MinimisingShowsItWhateverTheOptionAndRestoringKeepsIt) {
    Started s;
    s.ui.setChecked(Ctl::选择框_迷你, false);
    s.minimise();
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Mini));
    OnTrayEvent(s.app, 0x201);  // left click on the icon
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Main));
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Mini));

    s.minimise();
    ShowMainWindowFromTray(s.app);  // "显示窗口" in the tray menu
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Main));
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Mini));

    s.minimise();
    ShowMainWindowFromMini(s.app);
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Mini));
}

TEST(MiniVisibility, ExitDestroysItAndPutsTheWindowProcedureBack) {
    Started s;
    ExitProgram(s.app);
    EXPECT_FALSE(s.ui.windowCreated(Wnd::Mini));
    EXPECT_FALSE(s.shell.hooked);
    EXPECT_EQ(s.shell.notifications.back().op, TrayOp::Delete);
}

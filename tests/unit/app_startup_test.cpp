#include <gtest/gtest.h>

#include "app/startup.h"
#include "platform/sim/sim_platform.h"

namespace {

struct Started : SimPlatform {
    Started() { InitMainWindow(app, 0x10A2); }
};

}  // namespace

TEST(ProgramFolder, EndsInOneBackslash) {
    EXPECT_EQ(GetProgramFolder("C:\\Tools\\RuzoriZE3.exe"), "C:\\Tools\\");
    EXPECT_EQ(GetProgramFolder("E:\\RuzoriZE3.exe"), "E:\\");
    // "誠" is D5 5C in GBK: its trail byte is "\" and must not split the path.
    EXPECT_EQ(GetProgramFolder("D:\\\xD5\x5C\\a.exe"), "D:\\\xD5\x5C\\");
    EXPECT_EQ(GetProgramFolder("D:\\\xD5\x5C.exe"), "D:\\");
}

TEST(SingleInstance, FirstInstanceMarksItselfAndRuns) {
    Started s;
    EXPECT_EQ(s.app.instanceName, "RuzoriZE3.exe");
    EXPECT_EQ(s.app.settingsPath, "C:\\Program Files\\RuzoriZE3\\mp4.ini");
    EXPECT_TRUE(s.sys.events.count("RuzoriZE3.exe"));
    EXPECT_EQ(s.sys.registry["RuzoriZE3.exe"], 0x10A2u);
    EXPECT_EQ(s.sys.exitCode, -1);
    EXPECT_EQ(s.ui.title(Wnd::Main), kProgramTitle);
    EXPECT_TRUE(s.ui.windowCreated(Wnd::Mini));
    EXPECT_EQ(s.ui.control(Ctl::进度条1).progressColor, MakeRgb(144, 0, 255));
    EXPECT_EQ(s.ui.control(Ctl::进度条2).progressColor, MakeRgb(144, 0, 255));
    EXPECT_TRUE(s.shell.dropTargets.count(Ctl::超级列表框));
}

TEST(SingleInstance, SecondInstanceActivatesTheFirstAndEndsSilently) {
    SimPlatform second;
    second.sys.events.insert("RuzoriZE3.exe");
    second.sys.registry["RuzoriZE3.exe"] = 0x777;
    InitMainWindow(second.app, 0x999);
    EXPECT_EQ(second.sys.activated, std::vector<std::uint32_t>{0x777});
    EXPECT_EQ(second.sys.exitCode, 0);
    EXPECT_EQ(second.sys.registry["RuzoriZE3.exe"], 0x777u);  // the first one's window stays
    EXPECT_TRUE(second.ui.messageBoxes.empty());
    EXPECT_TRUE(second.app.settingsPath.empty());  // nothing after the check ran
    EXPECT_FALSE(second.ui.windowCreated(Wnd::Mini));
}

TEST(StartWithPaths, TheListTakesThemAsADropOnceRunning) {
    SimPlatform s;
    s.fs.addDrive('C', 8LL << 30, 4LL << 30);
    s.fs.addFile("C:\\a.mp3", std::string(2097152, 'x'));
    s.fs.addFile("C:\\dir\\b.txt", "");
    s.sys.commandLine = "C:\\a.mp3\r\nC:\\gone.wmv\r\nC:\\dir";
    InitMainWindow(s.app, 0x10A2);
    EXPECT_EQ(s.ui.rowCount(Ctl::超级列表框), 0);  // not inside the window's creation
    s.sys.runPosted();
    EXPECT_EQ(s.ui.column0(Ctl::超级列表框), (std::vector<std::string>{"C:\\a.mp3", "C:\\gone.wmv", "C:\\dir\\b.txt"}));
    EXPECT_EQ(s.ui.cell(Ctl::超级列表框, 0, 1), "2");
    EXPECT_EQ(s.ui.cell(Ctl::超级列表框, 1, 1), "-1");
}

TEST(StartWithPaths, ASecondStartHandsThemOverAndEndsSilently) {
    SimPlatform second;
    second.sys.events.insert("RuzoriZE3.exe");
    second.sys.registry["RuzoriZE3.exe"] = 0x777;
    second.sys.commandLine = "C:\\a.mp3\r\nD:\\\r\nCD1\\..\\b.mp3";
    second.sys.currentFolder = "E:\\album";  // its own, which the running one does not share
    second.sys.refusedHandOvers = 3;  // busy for a moment: taken on the fourth try
    InitMainWindow(second.app, 0x999);
    EXPECT_EQ(second.sys.handedOver[0x777], "C:\\a.mp3\r\nD:\\\r\nE:\\album\\b.mp3");
    EXPECT_TRUE(second.sys.activated.empty());  // the running window stays where it is
    EXPECT_EQ(second.sys.exitCode, 0);
    EXPECT_TRUE(second.ui.messageBoxes.empty());
    EXPECT_FALSE(second.ui.windowCreated(Wnd::Mini));
}

TEST(SingleInstance, CopiesWithAnotherFileNameDoNotSeeEachOther) {
    SimPlatform other;
    other.sys.events.insert("RuzoriZE3.exe");
    other.sys.exePath = "C:\\Tools\\player-copy.exe";
    InitMainWindow(other.app, 0x55);
    EXPECT_EQ(other.sys.exitCode, -1);
    EXPECT_TRUE(other.sys.events.count("player-copy.exe"));
}

TEST(CloseRequest, RefusedWithAHintUnlessExiting) {
    Started s;
    s.ui.selectTab(2);
    EXPECT_FALSE(QueryCloseMainWindow(s.app));
    ASSERT_EQ(s.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(s.ui.messageBoxes[0].text, "请点击'退出'按钮退出程序！");
    EXPECT_EQ(s.ui.messageBoxes[0].style, mb::Ok | mb::IconInfo);
    EXPECT_EQ(s.ui.currentTab(), 0);
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Main));

    s.ui.selectTab(1);
    s.app.copyBusy = 1;  // during a copy the window only hides
    EXPECT_FALSE(QueryCloseMainWindow(s.app));
    EXPECT_EQ(s.ui.messageBoxes.size(), 1u);
    EXPECT_FALSE(s.ui.windowVisible(Wnd::Main));
    EXPECT_EQ(s.ui.currentTab(), 0);

    s.app.copyBusy = 0;
    s.app.exitRequested = 1;
    EXPECT_TRUE(QueryCloseMainWindow(s.app));
}

TEST(Exit, EndsTheProgramAndClearsTheMarkersEveryStepRepeatable) {
    Started s;
    s.shell.dropTargets.insert(Ctl::图片框1);
    ExitProgram(s.app);
    EXPECT_EQ(s.app.exitRequested, 1);
    EXPECT_EQ(s.sys.quitCode, 0);
    EXPECT_FALSE(s.sys.registry.count("RuzoriZE3.exe"));
    EXPECT_TRUE(s.shell.dropTargets.empty());
    EXPECT_FALSE(s.ui.windowCreated(Wnd::Mini));
    TeardownMainWindow(s.app);  // the destruction repeats the steps harmlessly
    EXPECT_FALSE(s.sys.registry.count("RuzoriZE3.exe"));
    EXPECT_TRUE(QueryCloseMainWindow(s.app));
}

TEST(PageSwitches, AboutShowsAndRestoresWithoutBringingToFront) {
    Started s;
    s.ui.showWindow(Wnd::Main, false);
    s.ui.win(Wnd::Main).minimized = true;
    ShowAboutPage(s.app);
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Main));
    EXPECT_FALSE(s.ui.windowMinimized(Wnd::Main));
    EXPECT_EQ(s.ui.currentTab(), 2);
    EXPECT_EQ(s.ui.win(Wnd::Main).frontCount, 0);
    ShowCopyPage(s.app);
    EXPECT_EQ(s.ui.currentTab(), 0);

    s.ui.showWindow(Wnd::Main, false);
    ShowMainWindowFromTray(s.app);
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Main));
    EXPECT_EQ(s.ui.win(Wnd::Main).frontCount, 1);
}

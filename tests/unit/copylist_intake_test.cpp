// AddPaths and the drop event: files, folders, drive roots, and what runs meanwhile.
#include "app/events.h"
#include "copylist/copylist.h"
#include "copylist_fixture.h"

using Strings = std::vector<std::string>;

TEST_F(CopyListTest, PathsAreAddedInOrderAndRefreshedOnce) {
    sim.fs.addFile("J:\\a.mp3", std::string(1048576, 'x'));
    AddPaths(app, "J:\\a.mp3\r\n\r\nJ:\\nothing.txt\r\nJ:\\a.mp3\r\n");
    EXPECT_EQ(Paths(), (Strings{"J:\\a.mp3", "J:\\nothing.txt", "J:\\a.mp3"}));
    EXPECT_EQ(Row(1), "J:\\nothing.txt|-1|\\txt|3");
    ASSERT_EQ(Balloons().size(), 1u);
    EXPECT_EQ(Caption(), "文件总大小:2 M   目标磁盘剩余:4096 M");
    EXPECT_EQ(sim.ui.pumps, 0);  // single files need no pause

    AddPaths(app, "J:\\a.mp3");  // no final separator
    EXPECT_EQ(Rows(), 4);
    AddPaths(app, "");
    EXPECT_EQ(Rows(), 4);
    EXPECT_EQ(Balloons().size(), 3u);
}

TEST_F(CopyListTest, FolderGivesItsFilesSortedWithSubFolders) {
    for (const char* p : {"J:\\album\\10 end.mp3", "J:\\album\\2 two.MP3", "J:\\album\\Cover.jpg",
                          "J:\\album\\a.nfo", "J:\\album\\CD2\\1.wma", "J:\\album\\CD1\\b.mp3",
                          "J:\\album\\CD1\\A.mp3", "J:\\album\\CD1\\deep\\x.txt"})
        sim.fs.addFile(p, "");
    sim.fs.addFolder("J:\\album\\empty");
    AddPaths(app, "J:\\album");
    EXPECT_EQ(Paths(), (Strings{"J:\\album\\2 two.MP3", "J:\\album\\10 end.mp3", "J:\\album\\a.nfo",
                                "J:\\album\\Cover.jpg", "J:\\album\\CD1\\A.mp3", "J:\\album\\CD1\\b.mp3",
                                "J:\\album\\CD1\\deep\\x.txt", "J:\\album\\CD2\\1.wma"}));
    EXPECT_EQ(Row(2), "J:\\album\\a.nfo|0|\\|0");
    EXPECT_EQ(Balloons().size(), 1u);

    sim.ui.deleteAllRows(kList);
    AddPaths(app, "J:\\album\\CD1\\\r\n");  // a trailing "\" names the same folder
    EXPECT_EQ(Paths(), (Strings{"J:\\album\\CD1\\A.mp3", "J:\\album\\CD1\\b.mp3", "J:\\album\\CD1\\deep\\x.txt"}));
}

TEST_F(CopyListTest, DriveRootGivesTheFilesOfTheDrive) {
    sim.fs.addDrive('K', 1LL << 30, 1LL << 29);
    sim.fs.addFile("K:\\b.txt", "");
    sim.fs.addFile("K:\\music\\a.mp3", "");
    AddPaths(app, "K:\\");
    EXPECT_EQ(Paths(), (Strings{"K:\\b.txt", "K:\\music\\a.mp3"}));
}

TEST_F(CopyListTest, FolderWithoutFilesAddsNothingButRefreshes) {
    sim.fs.addFolder("J:\\hollow\\inner");
    AddPaths(app, "J:\\hollow");
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Caption(), "文件总大小:0 M   目标磁盘剩余:4096 M");
}

TEST_F(CopyListTest, BadPathsBecomeRowsOfSizeMinusOne) {
    sim.fs.addFile("J:\\locked.mp3", "abc");
    sim.fs.find("J:\\locked.mp3")->locked = true;
    AddPaths(app, "J:\\locked.mp3\r\nQ:\\\r\nQ:\\gone\\x.avi\r\nnot a path");
    EXPECT_EQ(Row(0), "J:\\locked.mp3|-1|\\music|2");
    EXPECT_EQ(Row(1), "Q:\\|-1|\\|0");  // a drive with no medium is not a folder
    EXPECT_EQ(Row(2), "Q:\\gone\\x.avi|-1|\\Video|1");
    EXPECT_EQ(Row(3), "C:\\Users\\user\\not a path|-1|\\|0");  // whole, in the current folder
    EXPECT_EQ(Caption(), "文件总大小:0 M   目标磁盘剩余:4096 M");
}

TEST_F(CopyListTest, FolderNameEndingInTrailByteBackslash) {
    // The last byte of "淺" is 0x5C, so the folder needs its own separator.
    sim.fs.addFile("J:\\淺\\歌.mp3", "");
    AddPaths(app, "J:\\淺");
    EXPECT_EQ(Paths(), (Strings{"J:\\淺\\歌.mp3"}));
}

TEST_F(CopyListTest, LongWalkRunsPendingEventsEvery20MsAndShowsTheListEvery100Ms) {
    SlowFileSystem sevenMs(sim.sys, 7);
    App app7{sim.ui, sevenMs, sim.ini, sim.sys, sim.shell};
    sevenMs.addDrive('J', 8LL << 30, 4LL << 30);
    for (int i = 0; i < 20; ++i) sevenMs.addFile("J:\\many\\" + std::to_string(i) + ".mp3", "");
    int heldWhileAdding = 0;
    sevenMs.onFile = [&] { heldWhileAdding += sim.ui.control(kList).redrawHeld; };
    std::vector<std::pair<std::uint64_t, bool>> pumps;  // when, and whether the list was shown
    sim.ui.onPump = [&] { pumps.push_back({sim.sys.now, !sim.ui.control(kList).redrawHeld}); };
    const std::uint64_t start = sim.sys.now;
    AddPaths(app7, "J:\\many");
    const std::vector<std::pair<std::uint64_t, bool>> want{{start + 21, false},  {start + 42, false},
                                                           {start + 63, false},  {start + 84, false},
                                                           {start + 105, true}, {start + 126, false}};
    EXPECT_EQ(pumps, want);
    EXPECT_EQ(heldWhileAdding, 20);
    EXPECT_FALSE(sim.ui.control(kList).redrawHeld);
    EXPECT_EQ(Rows(), 20);
}

TEST_F(CopyListTest, DropDuringEnumerationLandsAsOneBlock) {
    for (const char* p : {"J:\\one\\1.mp3", "J:\\one\\2.mp3", "J:\\one\\3.mp3", "J:\\two\\a.txt", "J:\\two\\b.txt"})
        slowFs.addFile(p, "");
    sim.ui.onPump = [this] {
        if (sim.ui.pumps != 1) return;
        EXPECT_EQ(Balloons().size(), 0u);  // no refresh in the middle of a folder
        OnFilesDropped(slow, "J:\\two\r\nJ:\\x.swf");
    };
    OnFilesDropped(slow, "J:\\one");
    EXPECT_EQ(Paths(), (Strings{"J:\\one\\1.mp3", "J:\\one\\2.mp3", "J:\\two\\a.txt", "J:\\two\\b.txt",
                                "J:\\x.swf", "J:\\one\\3.mp3"}));
    EXPECT_EQ(Balloons().size(), 2u);
}

TEST_F(CopyListTest, ExitDuringEnumerationStopsReading) {
    for (const char* p : {"J:\\one\\1.mp3", "J:\\one\\2.mp3", "J:\\one\\3.mp3"}) slowFs.addFile(p, "");
    sim.ui.onPump = [this] { slow.exitRequested = 1; };
    AddPaths(slow, "J:\\one\r\nJ:\\two.mp3");
    EXPECT_EQ(Rows(), 2);
    EXPECT_TRUE(Balloons().empty());
    EXPECT_FALSE(sim.ui.control(kList).redrawHeld);
}

TEST_F(CopyListTest, DialogFilterTitleAndChosenFiles) {
    std::vector<std::string> chosen;
    for (int i = 0; i < 2000; ++i) chosen.push_back("J:\\many\\f" + std::to_string(i) + ".mp3");
    sim.shell.chosenFiles.push_back(chosen);
    AddFilesByDialog(app);
    EXPECT_EQ(sim.shell.lastDialogTitle, "选择需要复制的文件(可多选)");
    const std::string& filter = sim.shell.lastDialogFilter;
    EXPECT_EQ(filter.rfind("Ruzorize3支持的文件|", 0), 0u);
    EXPECT_TRUE(filter.ends_with("|所有文件|*.*"));
    EXPECT_EQ(Paths(), chosen);
    EXPECT_EQ(Balloons().size(), 1u);
}

TEST_F(CopyListTest, CancelledDialogStillRefreshes) {
    AddFilesByDialog(app);  // no answer queued: Cancel
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Caption(), "文件总大小:0 M   目标磁盘剩余:4096 M");
    EXPECT_EQ(Balloons().size(), 1u);
}

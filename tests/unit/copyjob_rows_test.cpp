// The copy job's rows: statuses, the overwrite question, a missing folder, failures and
// the deletion of sources.
#include <optional>

#include "copyengine/copyjob.h"
#include "copyengine/copymethods.h"
#include "paths/paths.h"
#include "copyengine/jobstate.h"
#include "copyengine/placement.h"
#include "copylist/sizedisplay.h"
#include "copyjob_fixture.h"
#include "app/events.h"
#include "copylist/copylist.h"
#include "copylist_fixture.h"

namespace {

using CopyJobRowsTest = CopyJobTest;

TEST_F(CopyJobRowsTest, CopiesEachRowIntoItsFolderAndReportsIt) {
    List("S:\\in\\a.avi", "\\Video", "video bytes");
    List("S:\\in\\b.mp3", "\\music", std::string(5000, 'm'));
    List("S:\\readme", "\\", "");
    struct Seen {
        int current, image0, mark0, image1;
        std::string status;
    } seen{};
    OnFirst(FaultOp::OpenRead, "S:\\in\\b.mp3", [&] {
        CatchUp();
        seen = {sim.ui.currentRow(kList), sim.ui.rowImage(kList, 0), sim.ui.rowMark(kList, 0),
                sim.ui.rowImage(kList, 1), Status()};
        sim.sys.now += 1234;
    });
    Run();

    EXPECT_EQ(sim.fs.contents("K:\\Video\\a.avi"), "video bytes");
    EXPECT_EQ(sim.fs.contents("K:\\music\\b.mp3"), std::string(5000, 'm'));
    EXPECT_TRUE(sim.fs.exists("K:\\readme"));
    EXPECT_EQ(seen.current, 1);
    EXPECT_EQ(seen.image0, 7);
    EXPECT_EQ(seen.mark0, 2);
    EXPECT_EQ(seen.image1, 6);
    EXPECT_EQ(seen.status, Copying("S:\\in\\b.mp3"));

    // The main thread caught up twice: each time the latest status is shown, and those
    // replaced before it are not.
    const auto all = Balloons();
    ASSERT_GE(all.size(), 3u);
    const std::vector<Balloon> job(all.end() - 3, all.end());
    EXPECT_EQ(job, std::vector<Balloon>({{Copying("S:\\in\\b.mp3"), 1}, {kCopyUnverifiedText, 1},
                                        {Summary(3, 3, "1.234"), 1}}));
    EXPECT_EQ(Status(), Summary(3, 3, "1.234"));
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Overall(), 3);
    EXPECT_EQ(sim.ui.progressPos(Ctl::进度条2), 0) << "the empty last file shows none of the one before";
    EXPECT_EQ(sim.fs.contents("S:\\in\\a.avi"), "video bytes") << "delete option off";
}

TEST_F(CopyJobRowsTest, AskingBeforeOverwritingCancelSkipsTheRow) {
    List("S:\\a.avi", "\\Video", "new a");
    List("S:\\b.mp3", "\\music", "new b");
    List("S:\\c.txt", "\\txt", "new c");
    sim.fs.addFile("K:\\music\\b.mp3", "old b");
    sim.fs.addFile("K:\\txt\\c.txt", "old c");
    sim.ui.messageBoxAnswers = {mb::IdCancel, mb::IdOk};
    int imageOfSkipped = -1;
    OnFirst(FaultOp::OpenRead, "S:\\c.txt", [&] {
        CatchUp();
        imageOfSkipped = sim.ui.rowImage(kList, 1);
    });
    Run();

    ASSERT_EQ(sim.ui.messageBoxes.size(), 2u);
    EXPECT_EQ(sim.ui.messageBoxes[0].text, "K:\\music\\b.mp3\r\n已存在！ 覆盖吗？");
    EXPECT_EQ(sim.ui.messageBoxes[0].title, "文件已存在！");
    EXPECT_EQ(sim.ui.messageBoxes[0].style, 33u);
    EXPECT_EQ(sim.fs.contents("K:\\music\\b.mp3"), "old b");
    EXPECT_EQ(sim.fs.contents("K:\\txt\\c.txt"), "new c");
    EXPECT_EQ(imageOfSkipped, 6);
    EXPECT_FALSE(Shown(Copying("S:\\b.mp3"), 3));
    EXPECT_EQ(Status(), Summary(3, 2, "0"));
    EXPECT_EQ(Overall(), 3);
    EXPECT_EQ(sim.ui.column0(kList), std::vector<std::string>({"S:\\b.mp3"})) << "the skipped row stays";
}

TEST_F(CopyJobRowsTest, AMissingRuleFolderIsMadeAndOneThatCannotBeFailsOnlyItsRow) {
    sim.ui.setText(Ctl::目录框, "K:\\sub\\");
    List("S:\\a.swf", "\\flash\\old");
    List("S:\\b.txt", "\\txt");
    List("S:\\c.mp3", "\\music");
    List("S:\\d.mp3", "\\..\\escape");  // a hand-edited rule
    sim.fs.addFolder("K:\\sub");
    sim.fs.fault = [](FaultOp op, const std::string& p) { return op == FaultOp::CreateFolder && p == "K:\\sub\\txt"; };
    Run();
    EXPECT_TRUE(sim.fs.exists("K:\\sub\\flash\\old\\a.swf")) << "parents below the root made too";
    EXPECT_EQ(FailedRowReason(app, 0), "无法创建目标目录，复制失败!");
    EXPECT_TRUE(sim.fs.exists("K:\\sub\\music\\c.mp3")) << "the job goes on";
    EXPECT_FALSE(sim.fs.exists("K:\\escape")) << "nothing outside the root";
    EXPECT_EQ(Status(), Summary(4, 2, "0"));
    EXPECT_EQ(sim.ui.column0(kList), std::vector<std::string>({"S:\\b.txt", "S:\\d.mp3"}));
    EXPECT_EQ(FailedRowReason(app, 1), "规则的目标路径不在复制根目录下，复制失败!");
}

TEST_F(CopyJobRowsTest, AFailedCopyIsReportedAndItsSourceKept) {
    sim.ui.setChecked(Ctl::选择框_成功后删除源文件, true);
    List("S:\\a.mp3", "\\music");
    List("S:\\locked.mp3", "\\music");
    List("S:\\gone.mp3", "\\music");
    List("S:\\" + std::string(250, 'x') + ".txt", "\\txt");
    List("S:\\full.avi", "\\Video", std::string(3 << 20, 'v'));
    List("S:\\z.txt", "\\txt");
    sim.fs.find("S:\\locked.mp3")->locked = true;
    sim.fs.deleteFile("S:\\gone.mp3");
    int markOfFailed = -1;
    std::string tipOfFailed;
    OnFirst(FaultOp::OpenRead, "S:\\full.avi", [&] {
        CatchUp();
        markOfFailed = sim.ui.rowMark(kList, 1);
        tipOfFailed = FailedRowReason(app, 1);
        sim.fs.drives['K'].freeBytes = 1 << 20;  // the player fills up during this file
    });
    Run();

    EXPECT_EQ(markOfFailed, 1);
    EXPECT_EQ(tipOfFailed, kSourceUnreadableText) << "told while the job goes on";
    EXPECT_TRUE(sim.fs.exists("S:\\locked.mp3"));
    EXPECT_TRUE(sim.fs.exists("S:\\full.avi"));
    EXPECT_TRUE(sim.fs.exists("S:\\" + std::string(250, 'x') + ".txt"));
    EXPECT_FALSE(sim.fs.exists("K:\\Video\\full.avi"));
    EXPECT_FALSE(sim.fs.exists("S:\\a.mp3"));
    EXPECT_FALSE(sim.fs.exists("S:\\z.txt")) << "the job goes on after failures";
    EXPECT_EQ(Status(), Summary(6, 2, "0"));
    EXPECT_EQ(Overall(), 6);

    // The failed rows stay with their reasons; the balloon says so and the size line counts them.
    EXPECT_EQ(sim.ui.column0(kList), std::vector<std::string>({"S:\\locked.mp3", "S:\\gone.mp3",
                                                               "S:\\" + std::string(250, 'x') + ".txt", "S:\\full.avi"}));
    const char* reasons[] = {kSourceUnreadableText, kSourceUnreadableText, kDestUnwritableText, kPlayerFullText};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(sim.ui.rowImage(kList, r), kFailedImage) << r;
        EXPECT_EQ(FailedRowReason(app, r), reasons[r]) << r;
    }
    EXPECT_EQ(LastBalloon(), (Balloon{Summary(6, 2, "0") + "\r\n有1个文件因目标磁盘空间不足未复制\r\n列表中还有4个文件，再按“复制”重试", 1}));
    EXPECT_EQ(sim.ui.text(Ctl::标签_显示大小).rfind("文件总大小:3 M ", 0), 0u);
    sim.fs.find("S:\\locked.mp3")->locked = false;
    sim.ui.messageBoxAnswers = {mb::IdYes};  // only what fits: the video stays
    Run();
    EXPECT_EQ(sim.ui.column0(kList).front(), "S:\\gone.mp3") << "复制 again copies what it can of the rest";
    EXPECT_EQ(FailedRowReason(app, 0), kSourceUnreadableText);
}

// Retry is offered only for a row that could succeed (see above for one that can); the
// focus lost by the locked 复制 comes back to it.
TEST_F(CopyJobRowsTest, TheEndOffersARetryOnlyWhenOneCouldWorkAndGivesBackTheFocus) {
    List("S:\\a.mp3", "\\music");
    List("S:\\b.mp3", "\\music");
    sim.fs.deleteFile("S:\\a.mp3");
    sim.fs.deleteFile("S:\\b.mp3");
    sim.ui.setFocus(Ctl::按钮_复制);
    Run();
    EXPECT_EQ(LastBalloon(), (Balloon{Summary(2, 0, "0") + "\r\n列表中还有2个文件未能复制，请查看其提示", 1}));
    EXPECT_EQ(sim.ui.focusedControl(), Ctl::按钮_复制);
}

TEST_F(CopyJobRowsTest, FilesOf4GiBOrMoreFailAtOnceOnAFatPlayer) {
    sim.fs.drives['K'] = {64LL << 30, 16LL << 30, "FAT32"};
    List("S:\\under.avi", "\\Video");
    List("S:\\at.avi", "\\Video");
    List("S:\\small.avi", "\\Video");
    sim.fs.find("S:\\under.avi")->claimedSize = (1LL << 32) - 1;
    sim.fs.find("S:\\at.avi")->claimedSize = 1LL << 32;
    Run();
    EXPECT_EQ(sim.ui.column0(kList), std::vector<std::string>({"S:\\under.avi", "S:\\at.avi"}));
    EXPECT_NE(FailedRowReason(app, 0), kTooLargeForFatText);
    EXPECT_EQ(FailedRowReason(app, 1), kTooLargeForFatText);
    EXPECT_FALSE(sim.fs.exists("K:\\Video\\at.avi") || sim.fs.exists(TemporaryName("K:\\Video\\at.avi")));

    // The size display warns of it, and only for a FAT player.
    sim.ui.setCell(kList, 1, 1, "4096");
    for (const char* format : {"FAT32", "NTFS"}) {
        sim.fs.drives['K'].format = format;
        RefreshSizeDisplay(app);
        EXPECT_EQ(LastBalloon().text.ends_with(kTooLargeForFatText), format[0] == 'F') << format;
        EXPECT_EQ(LastBalloon().kind, format[0] == 'F' ? 2u : 1u) << format;
    }
}

// A copy takes the destination's place only whole and verified; the old file stays as it
// was otherwise, and no temporary is left.
TEST_F(CopyJobRowsTest, AnExistingFileIsReplacedOnlyByAWholeVerifiedCopy) {
    sim.ui.setChecked(Ctl::选择框_校验, true);
    sim.ui.setChecked(Ctl::选择框_成功后删除源文件, true);
    const struct {
        std::string name;
        std::optional<FaultOp> fault;
        const char* result;
    } cases[] = {{"good", {}, kCopyVerifiedText},
                 {"corrupt", FaultOp::Corrupt, kVerifyFailedText},
                 {"unwritable", FaultOp::Write, kDestUnwritableText},
                 {"unflushed", FaultOp::Flush, kDestUnwritableText},
                 {"unreplaced", FaultOp::Replace, kDestUnwritableText}};
    for (const auto& c : cases) {
        List("S:\\" + c.name + ".avi", "\\Video", std::string(1000, 'n'));
        sim.fs.addFile("K:\\Video\\" + c.name + ".avi", "old");
    }
    sim.fs.addFile(TemporaryName("K:\\Video\\good.avi"), "left behind by an unplugged player");
    sim.fs.fault = [&](FaultOp op, const std::string& p) {
        for (const auto& c : cases)
            if (c.fault == op && (p == TemporaryName("K:\\Video\\" + c.name + ".avi") || op == FaultOp::Replace))
                return p.find(c.name) != std::string::npos;
        return false;
    };
    Run();
    for (int r = 0; r < static_cast<int>(std::size(cases)); ++r) {
        const auto& c = cases[r];
        const std::string dest = "K:\\Video\\" + c.name + ".avi";
        EXPECT_TRUE(!c.fault || FailedRowReason(app, r - 1) == c.result) << c.name;
        EXPECT_EQ(sim.fs.contents(dest), c.fault ? "old" : std::string(1000, 'n')) << c.name;
        EXPECT_FALSE(sim.fs.exists(TemporaryName(dest))) << c.name;
        EXPECT_EQ(sim.fs.exists("S:\\" + c.name + ".avi"), c.fault.has_value()) << c.name;
    }
    EXPECT_EQ(sim.fs.attributes("K:\\Video\\good.avi"), kNormalAttributes) << "no longer hidden";
    EXPECT_EQ(Status(), Summary(5, 1, "0"));
    EXPECT_EQ(Rows(), 4);

}

// Without room for both, the copy replaces the old file in place, but only when it can
// finish there: an old file it cannot open, a shell copy that fails, and a copy too large
// even for the old file's room, counted in clusters, leave the old file byte for byte.
TEST_F(CopyJobRowsTest, ACopyInPlaceTouchesTheOldFileOnlyWhenItCanFinish) {
    const struct {
        const char* name;
        int method;
        std::size_t bytes, old;
        std::int64_t free;
        std::optional<FaultOp> fault;  // on the old file's name
        const char* result;            // nullptr: replaced
    } cases[] = {{"fits", 0, 3000, 3000, 2000, {}, nullptr},
                 {"unopened", 0, 3000, 3000, 2000, FaultOp::OpenWrite, kDestUnwritableText},
                 {"shell failed", 1, 3000, 3000, 2000, {}, kShellFailedText},
                 {"too large", 0, 9000, 1000, 4096, {}, kPlayerFullText},
                 {"fits only by bytes", 0, 4500, 1000, 3900, {}, kPlayerFullText}};
    sim.shell.onShellCopy = [](const std::string&, const std::string&) { return false; };
    for (const auto& c : cases) {
        const std::string dest = std::string("K:\\Video\\") + c.name + ".avi";
        List(std::string("S:\\") + c.name + ".avi", "\\Video", std::string(c.bytes, 'n'));
        sim.fs.addFile(dest, std::string(c.old, 'o'));
        sim.fs.drives['K'].freeBytes = 1 << 30;
        sim.ui.setComboIndex(Ctl::组合框_复制方法, c.method);
        // The player fills up after 复制, as the copy reads its source.
        sim.fs.fault = [&](FaultOp op, const std::string& p) {
            if ((op == FaultOp::OpenRead || op == FaultOp::Info) && p.rfind("S:\\", 0) == 0)
                sim.fs.drives['K'].freeBytes = c.free;
            return op == c.fault && p == dest;
        };
        Run();
        EXPECT_EQ(sim.fs.contents(dest), c.result ? std::string(c.old, 'o') : std::string(c.bytes, 'n')) << c.name;
        EXPECT_EQ(FailedRowReason(app, 0), c.result ? c.result : "") << c.name;
        sim.ui.deleteAllRows(kList);
    }
}

TEST_F(CopyJobRowsTest, SourcesAreDeletedEvenReadOnlyAndAFailedDeletionStillCounts) {
    sim.ui.setChecked(Ctl::选择框_成功后删除源文件, true);
    List("S:\\ro.mp3", "\\music");
    List("S:\\stuck.mp3", "\\music");
    sim.fs.find("S:\\ro.mp3")->readOnly = true;
    sim.fs.find("S:\\stuck.mp3")->readOnly = true;
    sim.fs.fault = [&](FaultOp op, const std::string& p) { return op == FaultOp::Delete && p == "S:\\stuck.mp3"; };
    Run();
    EXPECT_FALSE(sim.fs.exists("S:\\ro.mp3"));
    EXPECT_TRUE(sim.fs.find("S:\\stuck.mp3")->readOnly) << "a source that stays keeps its attributes";
    EXPECT_EQ(sim.fs.contents("K:\\music\\stuck.mp3"), "data");
    const auto all = Balloons();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(std::vector<Balloon>(all.end() - 3, all.end() - 1),
              std::vector<Balloon>({{"S:\\stuck.mp3\r\n删除失败！", 3}, {kCopyUnverifiedText, 1}}))
        << "the status keeps the copy's result";
    EXPECT_EQ(Status(), Summary(2, 2, "0"));
}

TEST_F(CopyJobRowsTest, SameNamesInOneJobNeverReplaceEachOther) {
    sim.ui.setChecked(Ctl::选择框_成功后删除源文件, true);
    List("S:\\CD1\\01.mp3", "\\music", "one");
    List("S:\\CD2\\01.mp3", "\\music", "two");
    List("S:\\CD3\\01.MP3", "\\music", "three");
    List("S:\\02.mp3", "\\music", "new 02");
    sim.fs.addFile("K:\\music\\01 (2).mp3", "on the player before");
    sim.fs.addFile("K:\\music\\02.mp3", "old 02");
    sim.ui.messageBoxAnswers = {mb::IdCancel, mb::IdOk};
    Run();
    EXPECT_EQ(sim.fs.contents("K:\\music\\01.mp3"), "one");
    EXPECT_EQ(sim.fs.contents("K:\\music\\01 (2).mp3"), "on the player before") << "asked about, and kept";
    EXPECT_EQ(sim.fs.contents("K:\\music\\01 (3).MP3"), "three");
    EXPECT_EQ(sim.fs.contents("K:\\music\\02.mp3"), "new 02");
    ASSERT_EQ(sim.ui.messageBoxes.size(), 2u) << "asked only for the files that were there before";
    EXPECT_EQ(sim.ui.messageBoxes[0].text, "K:\\music\\01 (2).mp3\r\n已存在！ 覆盖吗？");
    EXPECT_EQ(sim.ui.messageBoxes[1].text, "K:\\music\\02.mp3\r\n已存在！ 覆盖吗？");
    EXPECT_EQ(Status(), Summary(4, 3, "0"));
}

TEST_F(CopyJobRowsTest, RowsAddedDuringAJobStayAndCopyWaitsForAFolderBeingRead) {
    List("S:\\a.mp3", "\\music");
    List("S:\\locked.mp3", "\\music");
    sim.fs.find("S:\\locked.mp3")->locked = true;
    sim.fs.addFile("S:\\late.mp3", "late");
    sim.sys.holdThreads = true;
    StartCopyJob(app);
    OnFilesDropped(app, "S:\\late.mp3");
    sim.sys.threads.front()();
    sim.sys.runPosted();
    EXPECT_EQ(sim.ui.column0(kList), std::vector<std::string>({"S:\\locked.mp3", "S:\\late.mp3"}));
    EXPECT_FALSE(sim.fs.exists("K:\\music\\late.mp3"));

    // 复制 pressed while a dropped folder is read: the job starts after it, with all of it.
    SlowFileSystem slowFs(sim.sys, 30);
    App slow{sim.ui, slowFs, sim.ini, sim.sys, sim.shell};
    slowFs.addDrive('S', 1LL << 40, 1LL << 30);
    slowFs.addDrive('K', 8LL << 30, 4LL << 30);
    for (const char* f : {"S:\\album\\1.mp3", "S:\\album\\2.mp3", "S:\\album\\3.mp3"}) slowFs.addFile(f, "x");
    sim.ui.deleteAllRows(kList);
    sim.ui.onPump = [&] {
        if (sim.ui.pumps == 1) StartCopyJob(slow);
    };
    sim.sys.threads.clear();
    OnFilesDropped(slow, "S:\\album");
    ASSERT_EQ(sim.sys.threads.size(), 1u);
    sim.sys.threads.front()();
    sim.sys.runPosted();
    for (const char* f : {"K:\\1.mp3", "K:\\2.mp3", "K:\\3.mp3"}) EXPECT_TRUE(slowFs.exists(f)) << f;
    EXPECT_EQ(Rows(), 0);
}

}  // namespace

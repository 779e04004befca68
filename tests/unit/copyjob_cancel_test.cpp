// Ending a copy job early: Cancel, an exit, an unplugged player; and copy method 2.
#include "app/startup.h"
#include "copyengine/copyjob.h"
#include "copyengine/copymethods.h"
#include "copyengine/jobstate.h"
#include "copyengine/placement.h"
#include "copyjob_fixture.h"

namespace {

class CopyJobCancelTest : public CopyJobTest {
protected:
    void ListTen() {
        for (int i = 1; i <= 10; ++i) List("S:\\" + std::to_string(i) + ".mp3", "\\music", std::string(300, 'a'));
    }
    int CopiedCount() { return static_cast<int>(sim.fs.listFolder("K:\\music").size()); }
};

TEST_F(CopyJobCancelTest, CancelStopsTheCurrentFileAndKeepsItsOldCopy) {
    sim.ui.setChecked(Ctl::选择框_成功后删除源文件, true);
    ListTen();
    sim.fs.addFile("K:\\music\\3.mp3", "old");
    sim.ui.messageBoxAnswers = {mb::IdOk};
    OnFirst(FaultOp::Read, "S:\\3.mp3", [&] { CancelCopyJob(app); });
    Run();
    EXPECT_EQ(CopiedCount(), 3) << "1, 2 and the old 3";
    EXPECT_EQ(sim.fs.contents("K:\\music\\3.mp3"), "old");
    EXPECT_FALSE(sim.fs.exists(TemporaryName("K:\\music\\3.mp3")));
    EXPECT_TRUE(sim.fs.exists("S:\\3.mp3")) << "the file in hand is abandoned, its source kept";
    EXPECT_EQ(Status(), Cancelled(10, 2, "0"));
    EXPECT_EQ(Overall(), 3);
    EXPECT_EQ(Rows(), 8) << "the row in hand and the rows not reached stay";
    EXPECT_EQ(sim.ui.cell(kList, 0, 0), "S:\\3.mp3");
    EXPECT_EQ(sim.ui.rowImage(kList, 0), 1) << "back to its rule's image";
    EXPECT_EQ(FailedRowReason(app, 0), "");
    EXPECT_EQ(app.copyBusy, 0);
}

TEST_F(CopyJobCancelTest, AnExitDuringAJobStopsTheCurrentFile) {
    ListTen();
    OnFirst(FaultOp::Read, "S:\\2.mp3", [&] {
        ExitProgram(app);
        EXPECT_EQ(sim.sys.quitCode, -1) << "the exit waits for the job to stop";
    });
    Run();
    EXPECT_EQ(CopiedCount(), 1);
    EXPECT_FALSE(sim.fs.exists("K:\\music\\2.mp3"));
    EXPECT_EQ(Status(), Cancelled(10, 1, "0"));
    EXPECT_EQ(sim.sys.quitCode, 0);
    EXPECT_EQ(app.exitRequested, 1);
    EXPECT_FALSE(DeferExitForCopyJob(app));
}

TEST_F(CopyJobCancelTest, AnUnpluggedPlayerFailsTheFileAndEndsTheJob) {
    sim.ui.setChecked(Ctl::选择框_成功后删除源文件, true);
    List("S:\\a.mp3", "\\music");
    List("S:\\b.avi", "\\Video", std::string(3 << 20, 'b'));
    List("S:\\c.txt", "\\txt");
    OnFirst(FaultOp::Write, "K:\\Video\\b.avi", [&] { sim.fs.removeDrive('K'); });
    Run();
    EXPECT_TRUE(Shown(kPlayerGoneText, 3));
    EXPECT_EQ(Balloons()[Balloons().size() - 2], (Balloon{"目标磁盘 K:\\ 已不存在，复制已停止！", 2}));
    EXPECT_FALSE(sim.fs.exists("S:\\a.mp3"));
    EXPECT_TRUE(sim.fs.exists("S:\\b.avi"));
    EXPECT_TRUE(sim.fs.exists("S:\\c.txt"));
    EXPECT_EQ(Status(), Summary(3, 1, "1"));
    EXPECT_EQ(sim.ui.column0(kList), std::vector<std::string>({"S:\\b.avi", "S:\\c.txt"}));
    EXPECT_EQ(sim.ui.rowImage(kList, 0), kFailedImage);
    EXPECT_EQ(FailedRowReason(app, 0), kPlayerGoneText) << "not a write error";
    EXPECT_EQ(sim.ui.rowImage(kList, 1), 1) << "not reached: its rule's image";
}

// 取消 or 退出 while the overwrite question is up closes it, and whatever the answer no copy
// starts, beside the old file or in place. Comparing a file that looks the same stops
// within a block too.
TEST_F(CopyJobCancelTest, CancelReachesTheQuestionAndTheComparison) {
    const struct {
        bool exit, inPlace;
    } cases[] = {{false, false}, {false, true}, {true, true}};
    for (const auto& c : cases) {
        List("S:\\a.mp3", "\\music", std::string(3000, 'n'));
        List("S:\\b.mp3", "\\music", "");
        sim.fs.addFile("K:\\music\\a.mp3", "old");
        sim.fs.drives['K'].freeBytes = c.inPlace ? 3000 : 1 << 30;
        sim.ui.messageBoxAnswers = {mb::IdOk};
        sim.ui.onQuestion = [&] { c.exit ? ExitProgram(app) : CancelCopyJob(app); };
        Run();
        EXPECT_EQ(sim.ui.questionsClosed, 1) << c.exit << c.inPlace;
        EXPECT_EQ(sim.fs.contents("K:\\music\\a.mp3"), "old") << c.exit << c.inPlace;
        EXPECT_FALSE(sim.fs.exists(TemporaryName("K:\\music\\a.mp3")));
        EXPECT_TRUE(sim.fs.exists("S:\\a.mp3"));
        EXPECT_EQ(Status(), Cancelled(2, 0, "0"));
        EXPECT_EQ(Rows(), 2);
        sim.ui.deleteAllRows(kList);
        sim.ui.questionsClosed = 0;
    }

    sim.ui.onQuestion = {};
    sim.ui.setChecked(Ctl::选择框_校验, true);
    List("S:\\same.avi", "\\Video", std::string(3 << 20, 's'));
    sim.fs.addFile("K:\\Video\\same.avi", std::string(3 << 20, 's'));
    sim.fs.find("K:\\Video\\same.avi")->writeTime = sim.fs.find("S:\\same.avi")->writeTime;
    int reads = 0;
    sim.fs.fault = [&](FaultOp op, const std::string& p) {
        if (op == FaultOp::Read && p == "S:\\same.avi" && ++reads == 1) CancelCopyJob(app);
        return false;
    };
    Run();
    EXPECT_LE(reads, 2) << "stopped within a block";
}

TEST_F(CopyJobCancelTest, MethodTwoCopiesThroughTheShellOnTheMainThread) {
    sim.ui.setComboIndex(Ctl::组合框_复制方法, 1);
    sim.ui.setChecked(Ctl::选择框_校验, true);
    List("S:\\a.mp3", "\\music");
    List("S:\\b.mp3", "\\music");
    List("S:\\c.mp3", "\\music");
    List("S:\\d.mp3", "\\music");
    std::vector<std::string> copied;
    sim.shell.onShellCopy = [&](const std::string& from, const std::string& to) {
        copied.push_back(from + ">" + to);
        sim.fs.addFile(to, from == "S:\\c.mp3" ? "bad" : sim.fs.contents(from));
        return from != "S:\\b.mp3";
    };
    sim.ui.onPump = [&] {
        if (sim.ui.pumps == 3) {
            EXPECT_EQ(LastBalloon(), (Balloon{kShellFailedText, 3})) << "shown at once";
        }
        if (sim.ui.pumps == 4) CancelCopyJob(app);
    };
    StartCopyJob(app);
    EXPECT_TRUE(sim.sys.posted.empty());
    EXPECT_EQ(copied, std::vector<std::string>({"S:\\a.mp3>K:\\music\\a.mp3", "S:\\b.mp3>K:\\music\\b.mp3",
                                                "S:\\c.mp3>K:\\music\\c.mp3"}));
    EXPECT_EQ(sim.fs.contents("K:\\music\\a.mp3"), "data");
    EXPECT_FALSE(sim.fs.exists("K:\\music\\c.mp3")) << "the corrupt copy is gone";
    EXPECT_TRUE(Shown(kCopyVerifiedText, 1)) << "verified like method 1";
    EXPECT_TRUE(Shown(kVerifyFailedText, 3));
    EXPECT_FALSE(Shown(kShellCopiedText, 1));
    EXPECT_EQ(sim.ui.progressPos(Ctl::进度条2), 0);
    EXPECT_EQ(Status(), Cancelled(4, 1, "0"));
    EXPECT_EQ(Rows(), 3);
    EXPECT_FALSE(sim.ui.enabled(Ctl::按钮_取消));
}

}  // namespace

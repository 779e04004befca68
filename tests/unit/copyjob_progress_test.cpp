// How the worker's events and per-file progress reach the main thread's controls.
#include "copyengine/copymethods.h"
#include "copyengine/jobevents.h"
#include "copyengine/jobmeter.h"
#include "copyengine/placement.h"
#include "copyjob_fixture.h"

namespace {

using CopyJobProgressTest = CopyJobTest;

// Ordered effects all happen; a latest-only effect drops the waiting one of its slot (and
// row) and takes its own place in the order; batches run at least 100 ms apart.
TEST_F(CopyJobProgressTest, WorkerEventsArriveInOrderWithReplacedOnesDropped) {
    using Slot = JobEvents::Slot;
    JobEvents events(sim.sys, sim.ui);
    std::vector<std::string> applied;
    const auto note = [&](std::string what) {
        return [this, &applied, what] { applied.push_back(what + (sim.ui.control(kList).redrawHeld ? "*" : "")); };
    };
    events.send(note("a"));
    for (int row = 0; row < 3; ++row) {
        events.latest(Slot::Status, note("status " + std::to_string(row)));
        events.latest(Slot::Row, note("copying " + std::to_string(row)), row);
        if (row < 2) events.latest(Slot::Row, note("copied " + std::to_string(row)), row);
    }
    for (int k = 1; k <= 100; ++k) events.progress(k, [&](int step) { applied.push_back(std::to_string(step)); });
    events.send(note("b"));
    EXPECT_EQ(sim.sys.posted.size(), 1u) << "one message carries the whole batch";
    EXPECT_TRUE(sim.sys.waitsAsked.empty()) << "the first batch goes at once";
    EXPECT_TRUE(applied.empty());
    sim.sys.runPosted();
    EXPECT_EQ(applied, std::vector<std::string>({"a*", "copied 0*", "copied 1*", "status 2*", "copying 2*", "100", "b*"}));
    EXPECT_FALSE(sim.ui.control(kList).redrawHeld);

    applied.clear();
    sim.sys.now += 30;
    events.progress(7, [&](int step) { applied.push_back(std::to_string(step)); });
    events.latest(Slot::Status, note("status 3"));
    EXPECT_EQ(sim.sys.waitsAsked, std::vector<int>({70})) << "100 ms after the last batch ran";
    sim.sys.runPosted();
    EXPECT_EQ(applied, std::vector<std::string>({"7", "status 3"})) << "without rows, the list is not held";

    applied.clear();
    events.setDirect(true);
    for (int k = 1; k <= 3; ++k) events.progress(k, [&](int step) { applied.push_back(std::to_string(step)); });
    EXPECT_EQ(applied, std::vector<std::string>({"1", "2", "3"}));
    EXPECT_TRUE(sim.sys.posted.empty());
}

TEST_F(CopyJobProgressTest, AJobOfManyFilesEndsOnceItsPostsRun) {
    for (int i = 0; i < 200; ++i) List("S:\\f" + std::to_string(i) + ".txt", "\\txt", std::string(150, 'x'));
    StartCopyJob(app);
    EXPECT_NE(Status(), Summary(200, 200, "0"));
    sim.sys.runPosted();
    EXPECT_EQ(Status(), Summary(200, 200, "0"));
    EXPECT_EQ(sim.ui.progressPos(Ctl::进度条2), 100);
    EXPECT_EQ(Rows(), 0);
}

TEST_F(CopyJobProgressTest, ProgressGoesToTheBarOrElseToTheCopyProgressWindow) {
    JobEvents events(sim.sys, sim.ui);
    events.setDirect(true);
    sim.fs.addFile("S:\\a.avi", std::string(1000, 'a'));
    std::vector<Wnd> loaded;
    sim.ui.onLoad = [&](Wnd w) { loaded.push_back(w); };
    sim.ui.setProgressRange(Ctl::进度条2, 0, 5);
    EXPECT_TRUE(CopyFileWithProgress(app, events, "S:\\a.avi", "K:\\Video\\a.avi", Ctl::进度条2, false).ok);
    EXPECT_EQ(sim.ui.control(Ctl::进度条2).progressMax, 100);
    EXPECT_EQ(sim.ui.progressPos(Ctl::进度条2), 100);
    EXPECT_TRUE(loaded.empty());

    sim.ui.setProgressPos(Ctl::进度条2, 0);
    EXPECT_TRUE(CopyFileWithProgress(app, events, "S:\\a.avi", "K:\\Video\\b.avi", std::nullopt, true).ok);
    EXPECT_EQ(loaded, std::vector<Wnd>({Wnd::Progress}));
    EXPECT_EQ(sim.ui.progressWindowText[0], "正在复制文件：S:\\a.avi");
    EXPECT_EQ(sim.ui.progressWindowText[1], "到目的文件：K:\\Video\\b.avi");
    EXPECT_EQ(sim.ui.progressWindowPos, 100);
    EXPECT_FALSE(sim.ui.windowCreated(Wnd::Progress)) << "closed at the end of the copy";
    EXPECT_EQ(sim.ui.progressPos(Ctl::进度条2), 0);
}

TEST(ProgressLine, PercentRateAndTimeLeft) {
    constexpr double MB = 1048576;
    const struct {
        int percent;
        double rate, left;
        const char* line;
    } cases[] = {{0, -1, 0, "总进度 0%"},
                 {5, 0, 12, "总进度 5%  0.0 MB/s  剩余 12秒"},
                 {42, 12.34 * MB, 65, "总进度 42%  12.3 MB/s  剩余 1分05秒"},
                 {99, 0.05 * MB, 44.2, "总进度 99%  0.1 MB/s  剩余 45秒"},
                 {1, 3 * MB, 3725, "总进度 1%  3.0 MB/s  剩余 1小时02分"}};
    for (const auto& c : cases) EXPECT_EQ(ProgressLine(c.percent, c.rate, c.left), c.line);
}

// Verification counts as work, and so does each file; the rate is taken over the last
// three seconds.
TEST_F(CopyJobProgressTest, TheOverallLineCountsBytesAndShowsTheRateDuringTheJob) {
    sim.ui.setChecked(Ctl::选择框_校验, true);
    List("S:\\a.avi", "\\Video", std::string(4 << 20, 'a'));
    sim.ui.setCell(kList, 0, 1, "4");
    const std::string copy = "K:\\Video\\a.avi";
    std::vector<std::string> lines, tips;
    sim.fs.fault = [&](FaultOp op, const std::string& path) {
        if (op == FaultOp::Write || (op == FaultOp::Read && path == copy)) sim.sys.now += 125;  // 1 MiB every half second
        CatchUp();
        if ((lines.empty() || lines.back() != sim.ui.text(Ctl::标签2)) && !sim.shell.notifications.empty()) {
            lines.push_back(sim.ui.text(Ctl::标签2));
            tips.push_back(sim.shell.notifications.back().record.szTip);
        }
        return false;
    };
    Run();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[1], "总进度 3%") << "256 KiB of 4 MiB and 64 KiB, twice for the read-back";
    EXPECT_EQ(lines[2], "总进度 9%  2.0 MB/s  剩余 4秒") << "the rate once a quarter second has passed";
    EXPECT_EQ(lines[9].rfind("总进度 52%", 0), 0u) << "4 MiB copied, 256 KiB read back";
    EXPECT_EQ(tips.back(), lines.back()) << "the tray tip shows the same line";
    EXPECT_EQ(sim.ui.text(Ctl::标签2), "总进度");
    EXPECT_EQ(std::string(sim.shell.notifications.back().record.szTip), kProgramTitle);

    // Files too small for the size column still weigh what opening and placing them take.
    sim.ui.deleteAllRows(kList);
    sim.ui.setChecked(Ctl::选择框_校验, false);
    for (int i = 0; i < 40; ++i) List("S:\\t" + std::to_string(i) + ".txt", "\\txt", "ten bytes!");
    for (int i = 0; i < 40; ++i) sim.ui.setCell(kList, i, 1, "0");
    lines.clear();
    Run();
    ASSERT_GE(lines.size(), 12u);
    EXPECT_EQ(lines[2], "总进度 5%  0.0 MB/s  剩余 8秒") << "2 of 40 files in the first 0.375 s";
    EXPECT_EQ(lines[11], "总进度 50%  0.0 MB/s  剩余 3秒") << "20 of 40 files in 2.5 s";
}

}  // namespace

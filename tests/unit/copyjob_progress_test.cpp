// How the worker's events and per-file progress reach the main thread's controls.
#include "copyengine/copymethods.h"
#include "copyengine/jobevents.h"
#include "copyjob_fixture.h"

namespace {

using CopyJobProgressTest = CopyJobTest;

TEST_F(CopyJobProgressTest, WorkerEventsArriveInOrderWithProgressCoalesced) {
    JobEvents events(sim.sys);
    std::vector<std::string> applied;
    events.send([&] { applied.push_back("a"); });
    for (int k = 1; k <= 100; ++k) events.progress(k, [&](int step) { applied.push_back(std::to_string(step)); });
    events.send([&] { applied.push_back("b"); });
    EXPECT_EQ(sim.sys.posted.size(), 3u);
    EXPECT_TRUE(applied.empty());
    sim.sys.runPosted();
    EXPECT_EQ(applied, std::vector<std::string>({"a", "100", "b"}));

    events.progress(7, [&](int step) { applied.push_back(std::to_string(step)); });
    sim.sys.runPosted();
    EXPECT_EQ(applied.back(), "7") << "a later step is queued again";

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
    JobEvents events(sim.sys);
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

}  // namespace

// Commands as the windows deliver them, whatever sends them.
#include "app/events.h"
#include "copyjob_fixture.h"

// Automation can still click a disabled control or menu item: what a job locks stays locked.
TEST_F(CopyJobTest, LockedCommandsDoNothingWhileAJobRuns) {
    List("S:\\1.mp3", "\\music");
    List("S:\\2.mp3", "\\music");
    sim.ui.selectRow(kList, 1);
    sim.fs.addFile("S:\\3.mp3", "data");
    sim.shell.chosenFiles.push_back({"S:\\3.mp3"});
    sim.shell.browseAnswers.push_back({true, "music", true, "K:\\music"});
    sim.sys.holdThreads = true;
    StartCopyJob(app);
    const std::vector<std::string> rows = sim.ui.column0(kList);

    for (Ctl c : {Ctl::按钮_添加文件, Ctl::按钮_向上, Ctl::按钮_向下, Ctl::按钮_删除, Ctl::按钮_全部删除,
                  Ctl::按钮_复制, Ctl::按钮_浏览, Ctl::按钮_退出})
        RunClick(app, c);
    for (MenuItem m : {MenuItem::迷你_添加文件, MenuItem::迷你_设置目标目录, MenuItem::迷你_复制文件}) RunMenu(app, m);
    EXPECT_EQ(sim.ui.column0(kList), rows);
    EXPECT_EQ(sim.ui.text(Ctl::目录框), "K:\\");
    EXPECT_EQ(app.copyBusy, 1) << "the Exit button would have ended the job";

    RunClick(app, Ctl::按钮_取消);
    EXPECT_EQ(app.copyBusy, 0);
}

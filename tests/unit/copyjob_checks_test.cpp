// The copy job's start: the method, the checks that refuse a job, the busy and idle states.
#include "copyengine/room.h"
#include "copylist/sizedisplay.h"
#include "copyjob_fixture.h"

namespace {

constexpr Ctl kLocked[] = {Ctl::按钮_添加文件, Ctl::按钮_向上, Ctl::按钮_向下, Ctl::按钮_删除,
                           Ctl::按钮_全部删除, Ctl::按钮_复制, Ctl::按钮_浏览, Ctl::目录框,
                           Ctl::按钮_退出, Ctl::选择框_成功后删除源文件, Ctl::选择框_校验};
constexpr MenuItem kMiniLocked[] = {MenuItem::迷你_添加文件, MenuItem::迷你_设置目标目录,
                                    MenuItem::迷你_复制文件};

class CopyJobChecksTest : public CopyJobTest {
protected:
    void ExpectIdleControls() {
        for (Ctl c : kLocked) EXPECT_TRUE(sim.ui.enabled(c)) << static_cast<int>(c);
        EXPECT_FALSE(sim.ui.enabled(Ctl::按钮_取消));
        for (MenuItem m : kMiniLocked) EXPECT_TRUE(sim.ui.menuItemEnabled(m)) << static_cast<int>(m);
        EXPECT_FALSE(sim.ui.menuItemEnabled(MenuItem::迷你_取消));
        EXPECT_EQ(app.copyBusy, 0);
    }
    void ExpectIdlePictures() {
        EXPECT_EQ(sim.ui.miniPicture, MiniPicture::Idle);
        EXPECT_EQ(LastIconSize(), IconSize(IdleTrayIcon));
    }
};

TEST_F(CopyJobChecksTest, NoSelectedMethodDoesNothing) {
    List("S:\\a.avi", "\\Video");
    sim.ui.setComboIndex(Ctl::组合框_复制方法, -1);
    Run();
    EXPECT_TRUE(sim.shell.notifications.empty());
    EXPECT_EQ(Rows(), 1);
    EXPECT_FALSE(sim.fs.exists("K:\\Video\\a.avi"));
}

TEST_F(CopyJobChecksTest, AMissingRootRefusesTheJob) {
    List("S:\\a.avi", "\\Video");
    sim.ui.setText(Ctl::标签3, "复制");
    sim.ui.setText(Ctl::目录框, "X:\\player\\");
    Run();
    EXPECT_EQ(Balloons(), std::vector<Balloon>({{"目标目录 X:\\player\\ 不存在！", 2}}));
    ExpectIdlePictures();
    ExpectIdleControls();
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(Status(), "复制");
    EXPECT_TRUE(sim.sys.threads.empty());
}

// A hand-edited root that names a file: refused once, and the size line shows no drive.
TEST_F(CopyJobChecksTest, ARootThatIsAFileIsRefusedBeforeAnyRow) {
    List("S:\\a.avi", "\\Video");
    sim.fs.addFile("K:\\afile.mp4", "x");
    sim.ui.setText(Ctl::目录框, "K:\\afile.mp4");
    Run();
    EXPECT_EQ(Balloons(), std::vector<Balloon>({{"目标目录 K:\\afile.mp4 不是文件夹！", 2}}));
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(FreeSpaceInM(app), -0.001);
}

TEST_F(CopyJobChecksTest, FilesLargerThanTheFreeSpaceRefuseTheJob) {
    List("S:\\a.avi", "\\Video");
    sim.ui.setCell(kList, 0, 1, "5000");
    sim.ui.setRowBytes(kList, 0, 5000LL << 20);
    Run();
    EXPECT_EQ(LastBalloon(), (Balloon{"待复制文件总大小 大于 目标磁盘 剩余空间！\r\n请删除一些文件！", 2}));
    EXPECT_NE(sim.ui.text(Ctl::标签_显示大小).find("5000"), std::string::npos) << "the size display was refreshed";
    ExpectIdlePictures();
    ExpectIdleControls();
    EXPECT_EQ(Rows(), 1);
    EXPECT_FALSE(sim.fs.exists("K:\\Video\\a.avi"));
}

// The room a job needs is what it will write, in the player's 4 KB clusters: songs the
// player already holds need none, a replacement what it adds. A list that still does not
// fit asks whether to copy only what fits, in list order.
TEST_F(CopyJobChecksTest, ARefillCountsOnlyWhatItWritesAndMayCopyWhatFits) {
    constexpr std::size_t kKb = 1024;
    const struct {
        const char* name;
        int listed, onPlayer;  // songs 1 to listed, of which 1 to onPlayer are on the player
        std::size_t bytes, oldBytes;  // each song's; song 1's other version on the player
        std::int64_t free;
        int answer;  // to the question, when asked; else 覆盖
        bool asked;
        int copied, noRoom;
    } cases[] = {{"refill", 5, 4, 8 * kKb, 0, 9 * kKb, mb::IdNo, false, 5, 0},
                 {"small files", 20, 0, 100, 0, 40 * kKb, mb::IdYes, true, 10, 10},
                 {"否", 20, 0, 100, 0, 40 * kKb, mb::IdNo, true, 0, 0},
                 {"replacement", 1, 0, 8 * kKb, 4 * kKb, 4 * kKb, mb::IdNo, false, 1, 0}};
    for (const auto& c : cases) {
        sim.ui.messageBoxes.clear();
        for (int i = 1; i <= c.listed; ++i) {
            const std::string name = "\\" + std::to_string(i) + ".mp3";
            List("S:" + name, "\\music", std::string(c.bytes, 'n'));
            if (i <= c.onPlayer) sim.fs.addFile("K:\\music" + name, std::string(c.bytes, 'n'));
            if (i <= c.onPlayer) sim.fs.find("K:\\music" + name)->writeTime = sim.fs.find("S:" + name)->writeTime;
        }
        if (c.oldBytes) sim.fs.addFile("K:\\music\\1.mp3", std::string(c.oldBytes, 'o'));
        sim.fs.drives['K'].freeBytes = c.free;
        sim.ui.messageBoxAnswers = {c.answer};
        if (!c.asked) sim.ui.messageBoxAnswers = {mb::IdOk};  // 覆盖
        Run();
        const bool asked = !sim.ui.messageBoxes.empty() && sim.ui.messageBoxes[0].text.rfind("待复制文件总大小", 0) == 0;
        EXPECT_EQ(asked, c.asked) << c.name;
        EXPECT_EQ(Rows(), c.listed - c.copied) << c.name;
        for (int r = 0; r < Rows(); ++r) EXPECT_EQ(FailedRowReason(app, r), c.noRoom ? kNoRoomText : "") << c.name;
        const std::string tally = c.noRoom ? "有" + std::to_string(c.noRoom) + "个文件因目标磁盘空间不足未复制" : "";
        const std::string balloon = LastBalloon().text;
        EXPECT_EQ(balloon == "待复制文件总大小 大于 目标磁盘 剩余空间！\r\n请删除一些文件！", c.copied == 0) << c.name;
        EXPECT_NE(balloon.find(tally), std::string::npos) << c.name;
        EXPECT_EQ(balloon.find("其中4个文件播放器上已有相同的，未重新写入（共0.031 M）") != std::string::npos, c.onPlayer > 0);
        sim.ui.deleteAllRows(kList);
        for (const auto& f : sim.fs.listFolder("K:\\music")) sim.fs.deleteFile("K:\\music\\" + f.name);
    }
}

TEST_F(CopyJobChecksTest, AnEmptyListEndsWithoutASummary) {
    sim.ui.setText(Ctl::标签3, "复制");
    Run();
    EXPECT_EQ(LastBalloon(), (Balloon{"没有待复制文件，请添加文件", 2}));
    for (const auto& b : Balloons()) EXPECT_EQ(b.text.find("共"), std::string::npos);
    EXPECT_EQ(Status(), "复制");
    ExpectIdleControls();
    ExpectIdlePictures();
}

TEST_F(CopyJobChecksTest, ARunningJobLocksTheControlsAndShowsBusy) {
    List("S:\\a.avi", "\\Video");
    List("S:\\b.mp3", "\\music");
    sim.sys.holdThreads = true;
    StartCopyJob(app);
    ASSERT_EQ(sim.sys.threads.size(), 1u);
    EXPECT_EQ(app.copyBusy, 1);
    for (Ctl c : kLocked) EXPECT_FALSE(sim.ui.enabled(c)) << static_cast<int>(c);
    EXPECT_TRUE(sim.ui.enabled(Ctl::按钮_取消));
    for (MenuItem m : kMiniLocked) EXPECT_FALSE(sim.ui.menuItemEnabled(m));
    EXPECT_TRUE(sim.ui.menuItemEnabled(MenuItem::迷你_取消));
    EXPECT_TRUE(sim.ui.enabled(Ctl::组合框_复制方法));
    EXPECT_TRUE(sim.ui.enabled(Ctl::选择框_规则));
    EXPECT_EQ(sim.ui.miniPicture, MiniPicture::Busy);
    EXPECT_EQ(LastIconSize(), IconSize(BusyTrayIcon));
    const auto& bar = sim.ui.control(Ctl::进度条1);
    EXPECT_EQ(bar.progressMin, 0);
    EXPECT_EQ(bar.progressMax, 2);
    EXPECT_EQ(bar.progressPos, 0);

    StartCopyJob(app);  // a second start while the first runs
    EXPECT_EQ(sim.sys.threads.size(), 1u);

    sim.sys.threads.front()();
    sim.sys.runPosted();
    ExpectIdleControls();
    ExpectIdlePictures();
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Overall(), 2);
    EXPECT_EQ(sim.fs.contents("K:\\music\\b.mp3"), "data");
}

}  // namespace

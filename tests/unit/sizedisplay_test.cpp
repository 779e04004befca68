// The size line: total of the list against the free space of the target drive.
#include "copylist/copylist.h"
#include "copylist/sizedisplay.h"
#include "copylist_fixture.h"

namespace {
constexpr Rgb kBlue = MakeRgb(0, 0, 255), kRed = MakeRgb(255, 0, 0);
}

class SizeDisplayTest : public CopyListTest {
protected:
    void AddRowOfSize(const std::string& size) {
        sim.ui.setCell(kList, sim.ui.appendRow(kList, "J:\\x", 0), 1, size);
    }
    Rgb Color() { return sim.ui.control(Ctl::标签_显示大小).color; }
};

TEST_F(SizeDisplayTest, EmptyListFitsInBlue) {
    sim.fs.addDrive('K', 8LL << 30, 1048576LL * 1024);
    sim.ui.setText(Ctl::目录框, "K:\\player\\");
    sim.ui.control(Ctl::标签_显示大小).color = kRed;
    EXPECT_TRUE(RefreshSizeDisplay(app));
    EXPECT_EQ(Caption(), "文件总大小:0 M   目标磁盘剩余:1024 M");
    EXPECT_EQ(Color(), kBlue);
    ASSERT_EQ(Balloons().size(), 1u);
    EXPECT_EQ(Balloons()[0].text, Caption());
    EXPECT_EQ(Balloons()[0].kind, 1u);
    EXPECT_EQ(std::string(sim.shell.notifications.back().record.szInfoTitle), kProgramTitle);
}

TEST_F(SizeDisplayTest, EqualFitsAndOneThousandthMoreDoesNot) {
    sim.fs.addDrive('K', 8LL << 30, 10LL << 20);  // 10 M free
    sim.ui.setText(Ctl::目录框, "k:\\");
    AddRowOfSize("9.999");
    AddRowOfSize("0.001");
    EXPECT_TRUE(RefreshSizeDisplay(app));
    EXPECT_EQ(Color(), kBlue);
    AddRowOfSize("0.001");
    EXPECT_FALSE(RefreshSizeDisplay(app));
    EXPECT_EQ(Caption(), "文件总大小:10.001 M   目标磁盘剩余:10 M");
    EXPECT_EQ(Color(), kRed);
    EXPECT_EQ(Balloons().back().kind, 2u);
}

// The files' bytes add up: missing files add nothing, small ones are not rounded away.
TEST_F(SizeDisplayTest, TotalIsTheSumOfTheFilesBytes) {
    sim.fs.addFile("J:\\a.mp3", std::string(99615, 'a'));  // 0.095 M
    AddPaths(app, "J:\\a.mp3\r\nJ:\\gone.mp3\r\nQ:\\gone.avi");
    EXPECT_EQ(Caption(), "文件总大小:0.095 M   目标磁盘剩余:4096 M");

    RemoveAllEntries(app);
    std::string many;
    for (int i = 0; i < 500; ++i) {
        sim.fs.addFile("J:\\s\\" + std::to_string(i) + ".txt", std::string(500, 'x'));
        many += "J:\\s\\" + std::to_string(i) + ".txt\r\n";
    }
    AddPaths(app, many);
    EXPECT_EQ(Caption(), "文件总大小:0.238 M   目标磁盘剩余:4096 M");  // 250,000 bytes
}

TEST_F(SizeDisplayTest, DriveThatCannotBeQueriedIsMinusOneThousandth) {
    for (const char* root : {"Q:\\", "", "\\", "?:\\x"}) {
        sim.ui.setText(Ctl::目录框, root);
        EXPECT_EQ(FreeSpaceInM(app), -0.001) << root;
        EXPECT_FALSE(RefreshSizeDisplay(app)) << root;
        EXPECT_EQ(Caption(), "文件总大小:0 M   目标磁盘剩余:-0.001 M");
        EXPECT_EQ(Color(), kRed);
        EXPECT_EQ(Balloons().back().kind, 2u);
    }
    sim.fs.removeDrive('J');  // the player unplugged
    sim.ui.setText(Ctl::目录框, "J:\\");
    EXPECT_EQ(FreeSpaceInM(app), -0.001);
}

TEST_F(SizeDisplayTest, FreeSpaceRoundsAndGoesBeyondTwoTebibytes) {
    sim.fs.addDrive('K', 8LL << 40, 3LL << 40);
    sim.ui.setText(Ctl::目录框, "K:\\");
    EXPECT_EQ(FreeSpaceInM(app), 3145728);
    sim.fs.addDrive('K', 8LL << 30, 1024 * 1000);  // 1000 KB
    EXPECT_EQ(FreeSpaceInM(app), 0.977);
}

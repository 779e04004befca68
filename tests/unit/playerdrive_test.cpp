// A player found under a new drive letter: the choice, and the question at 复制 and on arrival.
#include "copyjob_fixture.h"
#include "copyengine/jobstate.h"
#include "settings/playerdrive.h"

namespace {

TEST(PlayerDrive, OnlyTheSingleNewRemovableDriveIsOfferedForAMissingRoot) {
    struct Case {
        bool rootPresent;
        const char* removable;
        const char* seen;
        char offered;
    } cases[] = {
        {false, "", "", 0},     {false, "L", "", 'L'},  {false, "L", "L", 0},  {false, "M", "L", 'M'},
        {false, "LM", "", 0},   {false, "LM", "L", 0},  {true, "L", "", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NewPlayerDrive(c.rootPresent, c.removable, c.seen), c.offered) << c.removable << "/" << c.seen;
}

class PlayerFound : public CopyJobTest {
protected:
    PlayerFound() {
        sim.fs.removeDrive('K');
        sim.fs.addDrive('L', 8LL << 30, 4LL << 30);
        sim.fs.drives['L'].removable = true;
        sim.fs.addFolder("L:\\Video");
        app.settingsPath = "S:\\mp4.ini";
        List("S:\\a.avi", "\\Video");
    }
    static constexpr const char* kQuestion =
        "目标磁盘 K: 不存在。\r\n找到移动磁盘 L:\\，是否用它作为复制根目录？";
};

TEST_F(PlayerFound, CopyAsksAndYesSavesTheRootAndCopies) {
    sim.ui.messageBoxAnswers = {mb::IdYes};
    Run();
    ASSERT_EQ(sim.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(sim.ui.messageBoxes[0].text, kQuestion);
    EXPECT_EQ(sim.ui.messageBoxes[0].title, kProgramTitle);
    EXPECT_EQ(sim.ui.messageBoxes[0].style, 0x24u);
    EXPECT_EQ(sim.ui.text(Ctl::目录框), "L:\\");
    EXPECT_NE(sim.fs.contents("S:\\mp4.ini").find("复制路径=L:\\"), std::string::npos);
    EXPECT_EQ(sim.fs.contents("L:\\Video\\a.avi"), "data");
    EXPECT_EQ(Rows(), 0);
}

TEST_F(PlayerFound, NoRefusesAsBeforeAndTheSameDriveIsNotAskedAgain) {
    sim.ui.messageBoxAnswers = {mb::IdNo};
    Run();
    Run();
    EXPECT_EQ(sim.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(sim.ui.text(Ctl::目录框), "K:\\");
    EXPECT_EQ(LastBalloon(), (Balloon{"目标目录 K:\\ 不存在！", 2}));
    EXPECT_FALSE(sim.fs.exists("S:\\mp4.ini"));
    EXPECT_EQ(Rows(), 1);
}

TEST_F(PlayerFound, ArrivalAsksOnceAndNeverDuringAJob) {
    JobState(app).running = true;
    OnDrivesChanged(app);
    EXPECT_TRUE(sim.ui.messageBoxes.empty());
    JobState(app).running = false;
    OnDrivesChanged(app);
    OnDrivesChanged(app);
    EXPECT_EQ(sim.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(sim.ui.messageBoxes[0].text, kQuestion);
}

}  // namespace

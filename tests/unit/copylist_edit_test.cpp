// Moving and removing rows of the copy list.
#include "copylist/copylist.h"
#include "copylist_fixture.h"

using Strings = std::vector<std::string>;

class CopyListEditTest : public CopyListTest {
protected:
    CopyListEditTest() {
        sim.fs.addFile("J:\\a.mp3", std::string(1048576, 'x'));
        sim.fs.addFile("J:\\b.txt", std::string(2097152, 'x'));
        AddPaths(app, "J:\\a.mp3\r\nJ:\\b.txt\r\nJ:\\c.bin");
        sim.ui.setRowMark(kList, 1, 2);
    }
    std::size_t Boxes() const { return sim.ui.messageBoxes.size(); }
};

TEST_F(CopyListEditTest, MoveSwapsWholeEntriesAndSelectionFollows) {
    const std::string caption = Caption();
    const auto balloons = Balloons().size();
    sim.ui.selectRow(kList, 1);
    MoveEntryUp(app);
    EXPECT_EQ(Row(0), "J:\\b.txt|2|\\txt|3");
    EXPECT_EQ(Row(1), "J:\\a.mp3|1|\\music|2");
    EXPECT_EQ(sim.ui.rowMark(kList, 0), 2);
    EXPECT_EQ(sim.ui.rowMark(kList, 1), 0);
    EXPECT_EQ(sim.ui.currentRow(kList), 0);

    MoveEntryDown(app);
    MoveEntryDown(app);
    EXPECT_EQ(Paths(), (Strings{"J:\\a.mp3", "J:\\c.bin", "J:\\b.txt"}));
    EXPECT_EQ(Row(1), "J:\\c.bin|-1|\\|0");
    EXPECT_EQ(sim.ui.currentRow(kList), 2);
    EXPECT_EQ(Caption(), caption);  // moving does not change the total
    EXPECT_EQ(Balloons().size(), balloons);
    EXPECT_EQ(Boxes(), 0u);
}

TEST_F(CopyListEditTest, MovePastEitherEndDoesNothing) {
    sim.ui.selectRow(kList, 0);
    MoveEntryUp(app);
    sim.ui.selectRow(kList, 2);
    MoveEntryDown(app);
    EXPECT_EQ(Paths(), (Strings{"J:\\a.mp3", "J:\\b.txt", "J:\\c.bin"}));
    EXPECT_EQ(sim.ui.currentRow(kList), 2);
    EXPECT_EQ(Boxes(), 0u);
}

TEST_F(CopyListEditTest, MoveWithoutSelectionAsksForOne) {
    MoveEntryUp(app);
    MoveEntryDown(app);
    ASSERT_EQ(Boxes(), 2u);
    for (const auto& box : sim.ui.messageBoxes) {
        EXPECT_EQ(box.text, "请选择需要移动的文件！");
        EXPECT_EQ(box.style, mb::Ok | mb::IconWarning);
    }
    EXPECT_EQ(Paths(), (Strings{"J:\\a.mp3", "J:\\b.txt", "J:\\c.bin"}));
}

TEST_F(CopyListEditTest, RemoveCurrentRefreshesEvenWithoutSelection) {
    const auto balloons = Balloons().size();
    RemoveCurrentEntry(app);
    EXPECT_EQ(Rows(), 3);
    EXPECT_EQ(Balloons().size(), balloons + 1);
    EXPECT_EQ(Boxes(), 0u);

    sim.ui.selectRow(kList, 1);
    RemoveCurrentEntry(app);
    EXPECT_EQ(Paths(), (Strings{"J:\\a.mp3", "J:\\c.bin"}));
    EXPECT_EQ(Caption(), "文件总大小:1 M   目标磁盘剩余:4096 M");  // the missing c.bin adds nothing
    EXPECT_EQ(Balloons().size(), balloons + 2);
}

TEST_F(CopyListEditTest, RemoveAllEmptiesAndRefreshes) {
    RemoveAllEntries(app);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Caption(), "文件总大小:0 M   目标磁盘剩余:4096 M");
    EXPECT_EQ(Balloons().back().kind, 1u);
}

// One file entering the copy list: its icon, size text and sub-path.
#include <cstdint>

#include "copylist/copylist.h"
#include "copylist_fixture.h"

namespace {

// Reports one size for every path, so sizes beyond memory can be tried.
class FixedSizeFs : public SimFileSystem {
public:
    explicit FixedSizeFs(std::int64_t size) : size_(size) {}
    std::int64_t fileSize(const std::string&) override { return size_; }

private:
    std::int64_t size_;
};

std::string Bytes(std::size_t n) { return std::string(n, 'x'); }

}  // namespace

TEST_F(CopyListTest, EntryTakesRuleIconSizeAndSubPath) {
    sim.fs.addFile("J:\\in\\a.MP3", Bytes(1572864));
    sim.fs.addFile("J:\\in\\b.txt", Bytes(1000));
    sim.fs.addFile("J:\\in\\c.bin", Bytes(500));
    sim.fs.addFile("J:\\in\\d.mp4", "");
    for (const char* p : {"J:\\in\\a.MP3", "J:\\in\\b.txt", "J:\\in\\c.bin", "J:\\in\\d.mp4", "J:\\in\\gone.avi"})
        EXPECT_TRUE(AddFileEntry(app, p));
    EXPECT_FALSE(AddFileEntry(app, ""));
    ASSERT_EQ(Rows(), 5);
    EXPECT_EQ(Row(0), "J:\\in\\a.MP3|1.5|\\music|2");
    EXPECT_EQ(Row(1), "J:\\in\\b.txt|0.001|\\txt|3");
    EXPECT_EQ(Row(2), "J:\\in\\c.bin|0|\\|0");
    EXPECT_EQ(Row(3), "J:\\in\\d.mp4|0|\\Video|1");
    EXPECT_EQ(Row(4), "J:\\in\\gone.avi|-1|\\Video|1");
}

TEST_F(CopyListTest, RulesOffKeepIconButStoreRoot) {
    sim.ui.setChecked(Ctl::选择框_规则, false);
    sim.fs.addFile("J:\\song.mp3", "abc");
    AddFileEntry(app, "J:\\song.mp3");
    EXPECT_EQ(Row(0), "J:\\song.mp3|0|\\|2");
}

TEST_F(CopyListTest, SizeRoundsToThreeDecimals) {
    sim.fs.addFile("J:\\three", Bytes(3145728));
    sim.fs.addFile("J:\\one", Bytes(1049600));
    sim.fs.addFile("J:\\half", Bytes(65536));  // 0.0625 M: the half goes up
    sim.fs.addFolder("J:\\folder");
    sim.fs.addFile("J:\\locked", "abc");
    sim.fs.find("J:\\locked")->locked = true;
    EXPECT_EQ(FileSizeInM(app, "J:\\three"), 3);
    EXPECT_EQ(FileSizeInM(app, "J:\\one"), 1.001);
    EXPECT_EQ(FileSizeInM(app, "J:\\half"), 0.063);
    EXPECT_EQ(FileSizeInM(app, "J:\\folder"), -1);
    EXPECT_EQ(FileSizeInM(app, "J:\\locked"), -1);
    EXPECT_EQ(FileSizeInM(app, "J:\\missing"), -1);
}

TEST_F(CopyListTest, SizesBeyond32BitsAreExact) {
    FixedSizeFs threeGiB(3LL << 30), huge((5LL << 40) + 1);
    App big{sim.ui, threeGiB, sim.ini, sim.sys, sim.shell};
    AddFileEntry(big, "J:\\film.avi");
    EXPECT_EQ(Row(0), "J:\\film.avi|3072|\\Video|1");
    App bigger{sim.ui, huge, sim.ini, sim.sys, sim.shell};
    EXPECT_EQ(FileSizeInM(bigger, "J:\\disk.img"), 5242880);
}

TEST_F(CopyListTest, ShortcutsAndOddNamesAreListedAsGiven) {
    sim.fs.addFile("J:\\歌\\淺.lnk", Bytes(2048));
    sim.fs.addFile("J:\\淺\\x.wav", "");
    AddFileEntry(app, "J:\\歌\\淺.lnk");
    AddFileEntry(app, "J:\\淺\\x.wav");
    EXPECT_EQ(Row(0), "J:\\歌\\淺.lnk|0.002|\\|0");
    EXPECT_EQ(Row(1), "J:\\淺\\x.wav|0|\\music|2");
}

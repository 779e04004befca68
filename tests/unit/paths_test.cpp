#include <gtest/gtest.h>

#include "paths/paths.h"
#include "platform/sim/sim_platform.h"
#include "settings/rules.h"

namespace {

const std::string kYun = "運";  // DF 5C: its trail byte is "\"

struct DefaultRules : SimPlatform {
    DefaultRules() { RestoreDefaultRules(app); }
    RuleMatch lookup(const std::string& path) { return LookupRule(app, path); }
};

void ExpectRule(const RuleMatch& m, int index, const std::string& subPath) {
    EXPECT_EQ(m.ruleIndex, index);
    EXPECT_EQ(m.subPath, subPath);
}

}  // namespace

TEST(PathText, ExtensionIsEverythingAfterTheLastDot) {
    EXPECT_EQ(GetExtension("D:\\mv\\clip.RMVB"), "RMVB");
    EXPECT_EQ(GetExtension("D:\\my.dir\\readme"), "dir\\readme");
    EXPECT_EQ(GetExtension("D:\\mv\\readme"), "D:\\mv\\readme");
    EXPECT_EQ(GetExtension("a.tar.gz"), "gz");
    EXPECT_EQ(GetExtension("song."), "");
    EXPECT_EQ(GetExtension("D:\\" + kYun + ".mp3"), "mp3");
}

TEST(PathText, FileNameAndFolderPartSplitAtTheLastBackslash) {
    EXPECT_EQ(GetFileName("D:\\mv\\a.rmvb"), "a.rmvb");
    EXPECT_EQ(GetFileName("a.rmvb"), "a.rmvb");
    EXPECT_EQ(GetFileName("D:\\mv\\"), "");
    EXPECT_EQ(GetFolderPart("J:\\Video\\a.rmvb"), "J:\\Video\\");
    EXPECT_EQ(GetFolderPart("J:\\a.rmvb"), "J:\\");
    EXPECT_EQ(GetFolderPart("a.rmvb"), "");
}

TEST(PathText, DoubleByteCharactersKeepNameAndFolderIntact) {
    const std::string file = "D:\\" + kYun + "\\" + kYun + ".mp3";
    EXPECT_EQ(GetFileName(file), kYun + ".mp3");
    EXPECT_EQ(GetFolderPart(file), "D:\\" + kYun + "\\");
    EXPECT_EQ(GetFileName("D:\\mv\\" + kYun), kYun);
    EXPECT_EQ(GetFolderPart("D:\\mv\\" + kYun), "D:\\mv\\");
}

TEST(RuleLookup, FirstRowContainingTheLowerCasedExtensionWins) {
    DefaultRules s;
    ExpectRule(s.lookup("D:\\a.MP3"), 2, "\\music");
    ExpectRule(s.lookup("D:\\a.mp4"), 1, "\\Video");
    ExpectRule(s.lookup("D:\\x.t"), 1, "\\Video");  // inside "*.dat", before row 3's "*.txt"
    ExpectRule(s.lookup("D:\\song.mp"), 1, "\\Video");
    ExpectRule(s.lookup("D:\\x.a"), 1, "\\Video");
    ExpectRule(s.lookup("D:\\notes.txt"), 3, "\\txt");
    ExpectRule(s.lookup("D:\\p.GIF"), 4, "\\picture");
    ExpectRule(s.lookup("D:\\f.swf"), 5, "\\flash");
}

TEST(RuleLookup, UnmatchedFilesGoToTheRoot) {
    DefaultRules s;
    ExpectRule(s.lookup("D:\\photo.jpeg"), 0, "\\");
    ExpectRule(s.lookup("D:\\my.dir\\readme"), 0, "\\");
    ExpectRule(s.lookup("D:\\song."), 0, "\\");  // no extension matches nothing
    ExpectRule(s.lookup("D:\\" + kYun + "." + kYun), 0, "\\");
}

TEST(RuleLookup, ReadsTheListAsItStands) {
    DefaultRules s;
    s.ui.setCell(Ctl::超级列表框_扩展名, 4, 0, "*.SWF;*.ogg");
    ExpectRule(s.lookup("D:\\f.swf"), 0, "\\");  // upper-case entries never match
    ExpectRule(s.lookup("D:\\f.ogg"), 5, "\\flash");
    s.ui.deleteAllRows(Ctl::超级列表框_扩展名);
    ExpectRule(s.lookup("D:\\a.mp3"), 0, "\\");
}

TEST(DestinationPath, JoinsRootSubPathAndFileName) {
    EXPECT_EQ(BuildDestinationPath("J:\\", "\\Video", "D:\\mv\\a.rmvb"), "J:\\Video\\a.rmvb");
    EXPECT_EQ(BuildDestinationPath("J:\\VIDEO", "\\", "D:\\mv\\a.rmvb"), "J:\\VIDEO\\a.rmvb");
    EXPECT_EQ(BuildDestinationPath("J:\\", "\\", "D:\\a.mp3"), "J:\\a.mp3");
    EXPECT_EQ(BuildDestinationPath("K:\\player\\", "\\music", "D:\\a.mp3"), "K:\\player\\music\\a.mp3");
    for (const char* outside : {"Video", "\\..\\..\\escape", "\\C:\\x", "\\a\\.\\b"})
        EXPECT_EQ(BuildDestinationPath("J:\\sub", outside, "D:\\a.rmvb"), "") << outside;
    EXPECT_EQ(BuildDestinationPath("K:\\" + kYun, "\\" + kYun, "D:\\" + kYun + "\\" + kYun),
              "K:\\" + kYun + "\\" + kYun + "\\" + kYun);
}

TEST(FolderTest, DriveRootsAreTestedThroughTheDriveSize) {
    SimPlatform s;
    s.fs.addDrive('J', 3LL << 40, 1LL << 40);  // 3 TiB
    EXPECT_TRUE(FolderExists(s.fs, "J:\\"));
    EXPECT_TRUE(FolderExists(s.fs, "j:\\"));
    EXPECT_FALSE(FolderExists(s.fs, "Q:\\"));
}

TEST(FolderTest, FoldersNeedTheFolderAttribute) {
    SimPlatform s;
    s.fs.addDrive('J', 8LL << 30, 1LL << 30);
    s.fs.addFolder("J:\\Video");
    s.fs.addFolder("J:\\" + kYun);
    s.fs.addFile("J:\\music", "not a folder");
    EXPECT_TRUE(FolderExists(s.fs, "J:\\Video"));
    EXPECT_TRUE(FolderExists(s.fs, "J:\\Video\\"));
    EXPECT_TRUE(FolderExists(s.fs, "J:\\" + kYun));
    EXPECT_TRUE(FolderExists(s.fs, "J:\\" + kYun + "\\"));
    EXPECT_FALSE(FolderExists(s.fs, "J:\\music\\"));
    EXPECT_FALSE(FolderExists(s.fs, "J:\\txt\\"));
    s.fs.removeDrive('J');
    EXPECT_FALSE(FolderExists(s.fs, "J:\\Video\\"));
}

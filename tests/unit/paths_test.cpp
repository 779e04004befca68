#include <gtest/gtest.h>

#include <set>

#include "copyengine/copyjob.h"
#include "copyengine/filecopy.h"
#include "copylist/copylist.h"
#include "copylist/folderwalk.h"
#include "paths/paths.h"
#include "platform/sim/sim_platform.h"
#include "settings/rules.h"
#include "text/gbk.h"

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
    for (const char* outside : {"Video", "\\..\\..\\escape", "\\C:\\x", "\\a\\.\\b", "\\CON", "\\con", "\\com1",
                                "\\NUL\\x", "\\COM1.mp3", "\\a\\LPT1", "\\aux .txt"})
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
    EXPECT_FALSE(FolderExists(s.fs, "jab"));  // three letters are no drive root
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

// Paths as a script or another program may give them, through the list to the player: each
// destination lies right inside its rule's folder under the root, as the system reads it.
TEST(PathsToThePlayer, EveryCopyLandsInItsRulesFolderUnderTheRoot) {
    const struct {
        std::string given, row, outcome;  // outcome: the copy on the player, or the row's reason
    } cases[] = {
        {"C:\\m\\CD1\\x/../../a.mp3", "C:\\m\\a.mp3", "K:\\player\\music\\a.mp3"},
        {"C:\\m\\CD1\\x/../../../../m/b.mp3", "C:\\m\\b.mp3", "K:\\player\\music\\b.mp3"},
        {"CD1\\.\\c.txt", "C:\\m\\CD1\\c.txt", "K:\\player\\txt\\c.txt"},
        {"\\m\\\\CD1\\..\\d.avi. ", "C:\\m\\d.avi", "K:\\player\\Video\\d.avi"},
        {"cat", "C:\\m\\cat", kSourceUnreadableText},  // three letters are no drive root
        {"C:x", "C:\\m\\x", kSourceUnreadableText},
        {"C:\\m\\CON", "C:\\m\\CON", kDeviceNameText},
        {"C:\\m\\nul.mp3", "C:\\m\\nul.mp3", kDeviceNameText},
        {"C:\\m\\a.mp3:s", "C:\\m\\a.mp3:s", kStreamNameText},
        {"odd", "C:\\m\\odd\\e.mp3.", kCutNameText},  // a folder's files keep their own names
        {"C:\\m\\odd2\\", "C:\\m\\odd2\\f.mp3 ", kCutNameText},
    };
    SimPlatform s;
    for (char drive : {'C', 'K'}) s.fs.addDrive(drive, 8LL << 30, 4LL << 30);
    s.fs.addFolder("K:\\player");
    for (const char* f : {"C:\\m\\a.mp3", "C:\\m\\b.mp3", "C:\\m\\CD1\\c.txt", "C:\\m\\d.avi", "C:\\m\\CON",
                          "C:\\m\\nul.mp3", "C:\\m\\odd\\e.mp3.", "C:\\m\\odd2\\f.mp3 "})
        s.fs.addFile(f, "data");
    s.sys.currentFolder = "C:\\m";
    RestoreDefaultRules(s.app);
    s.ui.setChecked(Ctl::选择框_规则, true);
    s.ui.setText(Ctl::目录框, "K:\\player");
    s.ui.setComboIndex(Ctl::组合框_复制方法, 0);
    std::string given;
    for (const auto& c : cases) given += c.given + "\r\n";
    AddPaths(s.app, given);
    ASSERT_EQ(s.ui.rowCount(Ctl::超级列表框), static_cast<int>(std::size(cases)));
    std::vector<std::string> rows, dests;
    for (int r = 0; r < s.ui.rowCount(Ctl::超级列表框); ++r) {
        const std::string row = s.ui.cell(Ctl::超级列表框, r, 0), subPath = s.ui.cell(Ctl::超级列表框, r, 2);
        rows.push_back(row);
        dests.push_back(BuildDestinationPath("K:\\player", subPath, row));
        const std::string folder = WithFinalSeparator(ResolvePath("K:\\player" + subPath, "C:\\"));
        EXPECT_TRUE(dests[r].empty() || ResolvePath(dests[r], "C:\\") == folder + GetFileName(row)) << dests[r];
    }
    StartCopyJob(s.app);
    s.sys.runPosted();
    std::set<std::string> written, expected;
    ForEachFileIn(s.fs, "K:\\", [&written](const std::string& f, std::int64_t) { return written.insert(f).second; });
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(cases[i].given);
        EXPECT_EQ(rows[i], cases[i].row);
        const std::string& reason = s.app.failureReasons[rows[i]];
        EXPECT_EQ(reason.empty() ? dests[i] : reason, cases[i].outcome);
        if (reason.empty()) expected.insert(dests[i]);
    }
    EXPECT_EQ(written, expected);
}

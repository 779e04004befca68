// Files already on the player: the source itself, the same file listed twice, files the
// player holds unchanged, one answer for the rest of the job; and how a new file is made.
#include <thread>

#include "copyengine/existing.h"
#include "copyengine/jobstate.h"
#include "copyengine/placement.h"
#include "copyjob_fixture.h"

namespace {

class CopyJobExistingTest : public CopyJobTest {
protected:
    CopyJobExistingTest() { sim.ui.setChecked(Ctl::选择框_成功后删除源文件, true); }
    std::int64_t& Time(const std::string& path) { return sim.fs.find(path)->writeTime; }
    static constexpr std::int64_t kSecond = 10'000'000;
};

// The player's own file dropped into the list, a file listed twice, and two names equal
// only under Cyrillic case folding; with and without verification.
TEST_F(CopyJobExistingTest, NoFileIsCopiedOntoItselfOrTwiceAndCaseFoldsBeyondAscii) {
    for (bool verify : {false, true}) {
        sim.ui.setChecked(Ctl::选择框_校验, verify);
        List("K:\\music\\own.mp3", "\\music", "the only copy");
        List("S:\\a.mp3", "\\music");
        List("S:\\a.mp3", "\\music");
        List("S:\\CD1\\Песня.mp3", "\\music", "one");
        List("S:\\CD2\\песня.mp3", "\\music", "two");
        Run();
        EXPECT_EQ(sim.fs.contents("K:\\music\\own.mp3"), "the only copy") << verify;
        EXPECT_EQ(sim.fs.contents("K:\\music\\песня (2).mp3"), "two") << verify;
        EXPECT_EQ(sim.fs.listFolder("K:\\music").size(), 4u) << "no a (2).mp3";
        EXPECT_TRUE(sim.ui.messageBoxes.empty()) << "nothing asked";
        EXPECT_EQ(Status(), Summary(5, 4, "0"));
        EXPECT_EQ(sim.ui.column0(kList), std::vector<std::string>{"K:\\music\\own.mp3"});
        EXPECT_EQ(FailedRowReason(app, 0), kSameFileText);
        sim.ui.deleteAllRows(kList);
        for (const char* name : {"a.mp3", "Песня.mp3", "песня (2).mp3"}) sim.fs.deleteFile(std::string("K:\\music\\") + name);
    }
}

TEST_F(CopyJobExistingTest, AFileThePlayerHoldsUnchangedIsNotWrittenAgain) {
    const struct {
        bool verify;
        std::int64_t apart;
        const char* onPlayer;  // the size of the source's "data"
        bool unchanged;
    } cases[] = {{false, 1 * kSecond, "DATA", true},  // FAT keeps 2 s steps
                 {false, 3 * kSecond, "DATA", false},
                 {true, 1 * kSecond, "data", true},
                 {true, 0, "DATA", false}};  // the digest tells them apart
    for (const auto& c : cases) {
        sim.ui.setChecked(Ctl::选择框_校验, c.verify);
        sim.ui.messageBoxes.clear();
        sim.ui.messageBoxAnswers = {mb::IdCancel};
        List("S:\\a.mp3", "\\music");
        sim.fs.addFile("K:\\music\\a.mp3", c.onPlayer);
        Time("K:\\music\\a.mp3") = Time("S:\\a.mp3") + c.apart;
        Run();
        EXPECT_EQ(sim.ui.messageBoxes.size(), c.unchanged ? 0u : 1u) << c.apart << c.verify;
        EXPECT_EQ(sim.fs.contents("K:\\music\\a.mp3"), c.onPlayer) << "nothing written either way";
        EXPECT_EQ(sim.fs.exists("S:\\a.mp3"), !c.unchanged) << "deleted only as a checked copy";
        EXPECT_EQ(Status(), Summary(1, c.unchanged, "0"));
        const std::string note = "\r\n其中1个文件播放器上已有相同的，未重新写入";
        EXPECT_EQ(LastBalloon().text.find(note) != std::string::npos, c.unchanged);
        sim.ui.deleteAllRows(kList);
    }
}

TEST_F(CopyJobExistingTest, OneAnswerHoldsForTheRestOfTheJobOnlyAndCopiesKeepTheirDates) {
    for (const char* name : {"a", "b", "c"}) {
        List(std::string("S:\\") + name + ".mp3", "\\music");
        sim.fs.addFile(std::string("K:\\music\\") + name + ".mp3", "older");
    }
    const std::int64_t may2024 = 133'590'384'000'000'000 + 30 * kSecond;  // 2024-05-01 12:00:30
    Time("S:\\a.mp3") = may2024;
    Time("K:\\music\\a.mp3") = 133'449'417'000'000'000;           // 2023-11-20 08:15
    sim.ui.messageBoxAnswers = {mb::IdOk, mb::IdCancel};
    sim.ui.overwriteForRest = {true};
    Run();
    ASSERT_EQ(sim.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(sim.ui.messageBoxes[0].details, "源文件：4 字节，2024-05-01 12:00\r\n播放器上：5 字节，2023-11-20 08:15");
    EXPECT_EQ(sim.fs.contents("K:\\music\\c.mp3"), "data");
    EXPECT_EQ(Time("K:\\music\\a.mp3"), may2024) << "the copy keeps its source's date";
    List("S:\\d.mp3", "\\music");
    sim.fs.addFile("K:\\music\\d.mp3", "older");
    Run();
    EXPECT_EQ(sim.ui.messageBoxes.size(), 2u) << "the next job asks again";
    EXPECT_EQ(sim.fs.contents("K:\\music\\d.mp3"), "older");
}

// Sizes in the question: files a few KB apart must not both read "0.00 MB".
TEST_F(CopyJobExistingTest, TheQuestionTellsSmallFilesApart) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0 字节"}, {1023, "1023 字节"}, {1024, "1.00 KB"}, {3003, "2.93 KB"}, {5000, "4.88 KB"},
        {1048570, "1023.99 KB"}, {1048571, "1.00 MB"}, {3690988, "3.52 MB"}, {5LL << 30, "5120.00 MB"}};
    for (const auto& [size, text] : cases)
        EXPECT_EQ(OverwriteDetails(app, size, 0, FileInfo{size, 0, ""}),
                  std::string("源文件：") + text + "\r\n播放器上：" + text);
}

// A new file is made under its own name, hidden until whole and checked, then shown with
// its source's date; a bad copy is removed. A replacement goes beside the old file while
// the player has room once the copy waiting for its check is placed.
TEST_F(CopyJobExistingTest, ANewFileIsHiddenUntilCheckedAndAReplacementWaitsForRoom) {
    sim.ui.setChecked(Ctl::选择框_校验, true);
    List("S:\\new.mp3", "\\music", "fresh");
    List("S:\\bad.mp3", "\\music", "fresh");
    for (const char* name : {"a.avi", "b.avi"}) {
        List(std::string("S:\\") + name, "\\Video", std::string(1 << 20, name[0]));
        sim.fs.addFile(std::string("K:\\Video\\") + name, std::string(1 << 20, 'o'));
    }
    sim.fs.drives['K'].freeBytes = 3 << 19;  // one copy beside its old file, not two
    const std::int64_t newTime = Time("S:\\new.mp3");
    sim.ui.overwriteForRest = {true};
    std::vector<std::string> hiddenAtCheck, written;
    sim.fs.beforeOpenRead = [&](const std::string& path, ReadMode mode) {
        if (mode == ReadMode::Uncached && sim.fs.find(path)->hidden) hiddenAtCheck.push_back(path);
        if (path == TemporaryName("K:\\Video\\a.avi")) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    };
    sim.fs.fault = [&](FaultOp op, const std::string& path) {
        if (op == FaultOp::OpenWrite) written.push_back(path);
        return op == FaultOp::Corrupt && path == "K:\\music\\bad.mp3";
    };
    Run();
    EXPECT_EQ(written, std::vector<std::string>({"K:\\music\\new.mp3", "K:\\music\\bad.mp3",
                                                 TemporaryName("K:\\Video\\a.avi"), TemporaryName("K:\\Video\\b.avi")}));
    EXPECT_EQ(hiddenAtCheck, written);
    EXPECT_FALSE(sim.fs.find("K:\\music\\new.mp3")->hidden);
    EXPECT_EQ(Time("K:\\music\\new.mp3"), newTime);
    EXPECT_FALSE(sim.fs.exists("K:\\music\\bad.mp3"));
    EXPECT_EQ(sim.fs.contents("K:\\Video\\b.avi"), std::string(1 << 20, 'b'));
}

// The player's own file listed after a new file of its name: the new copy takes the name,
// and the player's file, the same file as its destination, is neither copied nor deleted.
// A source is deleted only while it is still the file that was copied: not after a change
// of date, nor once another file of the same bytes and date took its name.
TEST_F(CopyJobExistingTest, APlayersOwnFileAndASourceChangedSinceItsCopyAreKept) {
    for (bool verify : {false, true}) {
        sim.ui.setChecked(Ctl::选择框_校验, verify);
        List("S:\\a.mp3", "\\music", "new a");
        List("K:\\music\\a.mp3", "\\music", "old a");
        List("S:\\b.mp3", "\\music", "b");
        List("S:\\c.mp3", "\\music", "c");
        OnFirst(FaultOp::Write, "K:\\music\\b.mp3", [&] { Time("S:\\b.mp3") += kSecond; });
        sim.fs.fault = [&, changeB = sim.fs.fault](FaultOp op, const std::string& path) {
            if (op == FaultOp::Attributes && path == "K:\\music\\c.mp3") {  // its copy is read and closed
                const std::int64_t time = Time("S:\\c.mp3");
                sim.fs.deleteFile("S:\\c.mp3");
                sim.fs.addFile("S:\\c.mp3", "c");
                Time("S:\\c.mp3") = time;
            }
            return changeB(op, path);
        };
        Run();
        EXPECT_EQ(sim.fs.contents("K:\\music\\a.mp3"), "new a") << verify;
        EXPECT_FALSE(sim.fs.exists("S:\\a.mp3")) << verify;
        EXPECT_FALSE(sim.fs.exists("K:\\music\\a (2).mp3")) << verify;
        EXPECT_EQ(sim.fs.contents("K:\\music\\b.mp3"), "b") << verify;
        EXPECT_TRUE(sim.fs.exists("S:\\b.mp3")) << "changed since its copy was read";
        EXPECT_TRUE(sim.fs.exists("S:\\c.mp3")) << "another file since its copy was read";
        EXPECT_EQ(sim.ui.column0(kList), std::vector<std::string>({"K:\\music\\a.mp3", "S:\\b.mp3", "S:\\c.mp3"}));
        EXPECT_EQ(FailedRowReason(app, 0), kSameFileText);
        EXPECT_EQ(FailedRowReason(app, 1), kSourceChangedSinceText);
        EXPECT_EQ(FailedRowReason(app, 2), kSourceChangedSinceText);
        EXPECT_EQ(Status(), Summary(4, 1, "0")) << verify;
        sim.ui.deleteAllRows(kList);
        sim.fs.deleteFile("K:\\music\\b.mp3");
        sim.fs.deleteFile("K:\\music\\c.mp3");
    }
}

// An album copied again finds its own earlier copies, numbered ones too: nothing is
// written or asked. A changed track is asked about as the replacement of its own copy.
TEST_F(CopyJobExistingTest, AnAlbumCopiedAgainFindsItsNumberedCopies) {
    sim.ui.setChecked(Ctl::选择框_成功后删除源文件, false);
    const std::vector<std::string> album = {"S:\\CD1\\01.mp3", "S:\\CD1\\03.mp3", "S:\\CD2\\01.mp3",
                                            "S:\\CD2\\03.mp3"};
    for (const auto& song : album) List(song, "\\music", song);
    Run();
    int writes = 0;
    sim.fs.fault = [&](FaultOp op, const std::string&) { return writes += op == FaultOp::OpenWrite, false; };
    for (const auto& song : album) Relist(song, "\\music");
    Run();
    EXPECT_EQ(writes, 0);
    EXPECT_TRUE(sim.ui.messageBoxes.empty());
    EXPECT_NE(LastBalloon().text.find("其中4个文件播放器上已有相同的"), std::string::npos);
    sim.fs.addFile("S:\\CD2\\03.mp3", "changed");
    for (const auto& song : album) Relist(song, "\\music");
    Run();
    ASSERT_EQ(sim.ui.messageBoxes.size(), 1u);
    EXPECT_TRUE(sim.ui.messageBoxes[0].text.starts_with("K:\\music\\03 (2).mp3\r\n"));
    EXPECT_EQ(sim.fs.contents("K:\\music\\03 (2).mp3"), "changed");
    EXPECT_EQ(sim.fs.listFolder("K:\\music").size(), 4u);
}

// A copy an unplugged player kept hidden under its real name is the program's own: the
// next job makes it anew without asking and does not count it as already there. A hidden
// file the program did not leave is asked about as any other.
TEST_F(CopyJobExistingTest, ACopyLeftUnfinishedIsMadeAnewWithoutAQuestion) {
    List("S:\\u2.mp3", "\\music", std::string(1000, 'u'));
    List("S:\\mine.mp3", "\\music", "new");
    sim.fs.addFile("K:\\music\\u2.mp3", std::string(400, 'u'));
    sim.fs.setAttributes("K:\\music\\u2.mp3", kHiddenAttribute | kSystemAttribute);
    Time("K:\\music\\u2.mp3") = Time("S:\\u2.mp3");
    sim.fs.addFile("K:\\music\\mine.mp3", "the user's own");
    sim.fs.setAttributes("K:\\music\\mine.mp3", kHiddenAttribute);
    sim.ui.messageBoxAnswers = {mb::IdCancel};
    Run();
    EXPECT_EQ(sim.fs.contents("K:\\music\\u2.mp3"), std::string(1000, 'u'));
    EXPECT_EQ(sim.fs.attributes("K:\\music\\u2.mp3"), kNormalAttributes);
    EXPECT_FALSE(sim.fs.exists("S:\\u2.mp3"));
    ASSERT_EQ(sim.ui.messageBoxes.size(), 1u);
    EXPECT_TRUE(sim.ui.messageBoxes[0].text.starts_with("K:\\music\\mine.mp3\r\n"));
    EXPECT_EQ(sim.fs.contents("K:\\music\\mine.mp3"), "the user's own");
    EXPECT_EQ(LastBalloon().text.find("其中"), std::string::npos) << "nothing was there already";
    EXPECT_EQ(Status(), Summary(2, 1, "0"));
}

}  // namespace

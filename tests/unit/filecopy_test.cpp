// The copy of one file's bytes: progress steps, verification and every failure path.
#include "copyengine/filecopy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_files.h"

namespace {

const std::string kSrc = "D:\\in\\clip.avi";
const std::string kDest = "K:\\Video\\clip.avi";

std::string Bytes(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    return s;
}

std::vector<int> OneToHundred() {
    std::vector<int> v;
    for (int k = 1; k <= 100; ++k) v.push_back(k);
    return v;
}

class FileCopyTest : public ::testing::Test {
protected:
    FileCopyTest() {
        fs.addDrive('D', 1LL << 40, 1LL << 30);
        fs.addDrive('K', 1LL << 33, 1LL << 32);
        fs.addFolder("K:\\Video");
    }
    CopyResult Copy(const std::string& data, bool verify) {
        fs.addFile(kSrc, data);
        return Run(verify);
    }
    CopyResult Run(bool verify) {
        steps.clear();
        return CopyFileData(fs, kSrc, kDest, verify, [this](int k) { steps.push_back(k); });
    }
    // Fails every call of op on path.
    void Fail(FaultOp op, const std::string& path) {
        fs.fault = [op, path](FaultOp o, const std::string& p) { return o == op && p == path; };
    }

    SimFileSystem fs;
    std::vector<int> steps;
};

TEST_F(FileCopyTest, SmallFilesCopyWithoutProgressSteps) {
    for (std::size_t size : {0u, 1u, 99u}) {
        const auto r = Copy(Bytes(size), false);
        EXPECT_TRUE(r.ok) << size;
        EXPECT_EQ(r.text, kCopyUnverifiedText);
        EXPECT_EQ(fs.contents(kDest), Bytes(size));
        EXPECT_TRUE(fs.exists(kDest));
        EXPECT_TRUE(steps.empty()) << size;
    }
}

TEST_F(FileCopyTest, FilesOfAHundredBytesOrMoreReportEachStepOnce) {
    // 100 and 250 bytes fit one chunk; the last size spans several chunks and a remainder.
    for (std::size_t size : {100u, 250u, (3u << 20) + 77u}) {
        const auto r = Copy(Bytes(size), false);
        EXPECT_TRUE(r.ok) << size;
        EXPECT_EQ(fs.contents(kDest), Bytes(size)) << size;
        EXPECT_EQ(steps, OneToHundred()) << size;
    }
}

TEST_F(FileCopyTest, ALongerExistingDestinationEndsAsLongAsTheSource) {
    fs.addFile(kDest, Bytes(5000));
    EXPECT_TRUE(Copy("short", false).ok);
    EXPECT_EQ(fs.contents(kDest), "short");
}

TEST_F(FileCopyTest, VerificationComparesTheCopyWithTheSource) {
    for (std::size_t size : {0u, 99u, (2u << 20) + 1u}) {
        const auto r = Copy(Bytes(size), true);
        EXPECT_TRUE(r.ok) << size;
        EXPECT_EQ(r.text, kCopyVerifiedText) << size;
    }
    Fail(FaultOp::Corrupt, kDest);
    const auto bad = Copy(Bytes(1000), true);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.text, kVerifyFailedText);
    EXPECT_FALSE(fs.exists(kDest)) << "a copy known to be corrupt does not stay";
    EXPECT_TRUE(Copy(Bytes(1000), false).ok) << "unverified copies cannot see the damage";
}

TEST_F(FileCopyTest, VerificationFailsWhenTheCopyCannotBeReadBack) {
    fs.addFile(kSrc, Bytes(300));
    for (FaultOp op : {FaultOp::OpenRead, FaultOp::Read}) {
        Fail(op, kDest);
        const auto r = Run(true);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.text, kVerifyFailedText);
    }
}

TEST_F(FileCopyTest, AnUnreadableSourceTouchesNoDestination) {
    fs.addFile(kDest, "old");
    EXPECT_EQ(Run(false).text, kSourceUnreadableText) << "a source that vanished after it was listed";
    fs.addFile(kSrc, Bytes(400));
    fs.find(kSrc)->locked = true;
    const auto locked = Run(true);
    EXPECT_FALSE(locked.ok);
    EXPECT_EQ(locked.text, kSourceUnreadableText);
    fs.find(kSrc)->locked = false;
    Fail(FaultOp::OpenRead, kSrc);
    EXPECT_EQ(Run(false).text, kSourceUnreadableText);
    EXPECT_EQ(fs.contents(kDest), "old");
}

TEST_F(FileCopyTest, AnIncompleteCopyFailsAndLeavesNoDestination) {
    const std::int64_t freeBefore = fs.drives['K'].freeBytes;
    fs.addFile(kSrc, Bytes(3u << 20));
    for (FaultOp op : {FaultOp::Read, FaultOp::Write, FaultOp::Close}) {
        Fail(op, op == FaultOp::Read ? kSrc : kDest);
        const auto r = Run(false);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.text, op == FaultOp::Read ? kSourceUnreadableText : kDestUnwritableText);
        EXPECT_FALSE(fs.exists(kDest));
    }
    Fail(FaultOp::Flush, kDest);
    EXPECT_EQ(Run(true).text, kDestUnwritableText);
    EXPECT_FALSE(fs.exists(kDest));
    EXPECT_EQ(fs.drives['K'].freeBytes, freeBefore);
    EXPECT_EQ(fs.contents(kSrc), Bytes(3u << 20));
}

TEST_F(FileCopyTest, ADiskFullMidFileFails) {
    fs.drives['K'].freeBytes = (1u << 20) + 10;
    const auto r = Copy(Bytes(3u << 20), true);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.text, kDestUnwritableText);
    EXPECT_FALSE(fs.exists(kDest));
    EXPECT_EQ(fs.drives['K'].freeBytes, (1 << 20) + 10);
}

TEST_F(FileCopyTest, ADestinationThatCannotBeOpenedIsLeftAlone) {
    fs.addFile(kSrc, Bytes(10));
    fs.addFile(kDest, "keep");
    fs.find(kDest)->readOnly = true;
    EXPECT_EQ(Run(false).text, kDestUnwritableText);
    EXPECT_EQ(fs.contents(kDest), "keep");

    const std::string deep = "K:\\Video\\" + std::string(260, 'x') + ".avi";
    const auto r = CopyFileData(fs, kSrc, deep, false, [](int) {});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.text, kDestUnwritableText);
}

TEST_F(FileCopyTest, ASourceThatChangesWhileCopiedFails) {
    fs.addFile(kSrc, Bytes(3u << 20));
    for (bool grow : {true, false}) {
        fs.fault = [&, grow](FaultOp op, const std::string& p) {
            auto& data = fs.find(kSrc)->data;
            if (op == FaultOp::Read && p == kSrc && data.size() == (3u << 20)) {
                if (grow) data += "more";
                else data.resize(data.size() / 2);
            }
            return false;
        };
        const auto r = Run(false);
        EXPECT_EQ(r.text, kSourceChangedText) << grow;
        EXPECT_FALSE(fs.exists(kDest)) << grow;
        fs.find(kSrc)->data = Bytes(3u << 20);
    }
}

// Windows' sharing rules, kept so that no test passes where Windows would fail: a writer
// keeps others from deleting, replacing or writing its file; a reader keeps the file it
// opened whatever happens to its name.
TEST_F(FileCopyTest, TheSimulatorKeepsWindowsSharingRules) {
    fs.addFile(kDest, "old");
    fs.addFile(kDest + ".tmp", "new");
    auto writer = fs.openWrite(kDest);
    ASSERT_TRUE(writer);
    EXPECT_FALSE(fs.deleteFile(kDest));
    EXPECT_FALSE(fs.replaceFile(kDest + ".tmp", kDest));
    EXPECT_FALSE(fs.openWrite(kDest));
    EXPECT_FALSE(fs.openRead(kDest, ReadMode::Cached)) << "a reader that does not share writing";
    EXPECT_TRUE(fs.openRead(kDest, ReadMode::Uncached)) << "the read-back shares it";
    writer.reset();
    auto reader = fs.openRead(kDest, ReadMode::Cached);
    EXPECT_FALSE(fs.replaceFile(kDest + ".tmp", kDest));
    fs.addFile(kDest, "replaced meanwhile");
    char got[8] = {};
    EXPECT_EQ(reader->read(got, sizeof got), 0) << "the emptied file it opened";
    reader.reset();
    EXPECT_TRUE(fs.replaceFile(kDest + ".tmp", kDest));
    EXPECT_EQ(fs.contents(kDest), "new");
}

}  // namespace

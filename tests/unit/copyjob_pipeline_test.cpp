// A verifying job checks one copy while it writes the next: results keep the rows' order,
// a bad copy found late fails only its own row, and Cancel abandons the rows in hand.
#include <condition_variable>
#include <mutex>

#include "copyengine/filecopy.h"
#include "copyengine/jobstate.h"
#include "copyengine/placement.h"
#include "copyjob_fixture.h"

namespace {

class CopyJobPipelineTest : public CopyJobTest {
protected:
    CopyJobPipelineTest() {
        sim.ui.setChecked(Ctl::选择框_校验, true);
        sim.ui.setChecked(Ctl::选择框_成功后删除源文件, true);
    }
    // Runs onCheck when the read-back of dest's copy opens, on the checking thread.
    void OnCheck(const std::string& dest, std::function<void()> onCheck) {
        sim.fs.beforeOpenRead = [this, dest, onCheck](const std::string& path, ReadMode mode) {
            {
                std::lock_guard lock(mutex);
                opened.push_back(path);
            }
            opening.notify_all();
            if ((path == dest || path == TemporaryName(dest)) && mode == ReadMode::Uncached) onCheck();
        };
    }
    // Waits (a while at most) until path has been opened for reading.
    bool WaitForOpen(const std::string& path) {
        std::unique_lock lock(mutex);
        return opening.wait_for(lock, std::chrono::seconds(10),
                                [&] { return std::find(opened.begin(), opened.end(), path) != opened.end(); });
    }
    std::vector<std::string> Results() const {
        std::vector<std::string> out;
        for (const auto& b : Balloons())
            if (b.text == kCopyVerifiedText || b.text == kVerifyFailedText) out.push_back(b.text);
        return out;
    }

    std::mutex mutex;
    std::condition_variable opening;
    std::vector<std::string> opened;
};

TEST_F(CopyJobPipelineTest, ACorruptCopyFoundAfterTheNextStartedFailsOnlyItsRow) {
    sim.fs.addFile("K:\\music\\a.mp3", "old a");
    List("S:\\a.mp3", "\\music", std::string(3 << 20, 'a'));
    List("S:\\b.avi", "\\Video", std::string(2 << 20, 'b'));
    List("S:\\c.txt", "\\txt", "c");
    sim.fs.fault = [](FaultOp op, const std::string& path) {
        return op == FaultOp::Corrupt && path == TemporaryName("K:\\music\\a.mp3");
    };
    bool overlapped = false;
    OnCheck("K:\\music\\a.mp3", [&] { overlapped = WaitForOpen("S:\\b.avi"); });
    Run();
    EXPECT_TRUE(overlapped) << "b was being copied while a was checked";
    EXPECT_EQ(Results(), std::vector<std::string>({kCopyVerifiedText})) << "the last row's, in one batch";
    EXPECT_EQ(sim.fs.contents("K:\\music\\a.mp3"), "old a");
    EXPECT_FALSE(sim.fs.exists(TemporaryName("K:\\music\\a.mp3")));
    EXPECT_TRUE(sim.fs.exists("S:\\a.mp3")) << "a failed row's source is kept";
    EXPECT_EQ(sim.fs.contents("K:\\Video\\b.avi"), std::string(2 << 20, 'b'));
    EXPECT_FALSE(sim.fs.exists("S:\\b.avi"));
    EXPECT_EQ(Status(), Summary(3, 2, "0"));
    EXPECT_EQ(sim.ui.column0(kList), std::vector<std::string>({"S:\\a.mp3"}));
    EXPECT_EQ(FailedRowReason(app, 0), kVerifyFailedText);
}

TEST_F(CopyJobPipelineTest, CancelDuringACheckAbandonsTheRowsInHand) {
    List("S:\\a.mp3", "\\music", std::string(3 << 20, 'a'));
    List("S:\\b.avi", "\\Video", std::string(3 << 20, 'b'));
    List("S:\\c.txt", "\\txt", "c");
    OnCheck("K:\\music\\a.mp3", [&] {
        ASSERT_TRUE(WaitForOpen("S:\\b.avi"));
        CancelCopyJob(app);
    });
    Run();
    EXPECT_TRUE(Results().empty()) << "neither the row checked nor the row copied is reported";
    for (const char* copy : {"K:\\music\\a.mp3", "K:\\Video\\b.avi", "K:\\txt\\c.txt"})
        EXPECT_FALSE(sim.fs.exists(copy)) << copy;
    EXPECT_TRUE(sim.fs.exists("S:\\a.mp3") && sim.fs.exists("S:\\b.avi") && sim.fs.exists("S:\\c.txt"));
    EXPECT_EQ(Status(), Cancelled(3, 0, "0"));
    EXPECT_EQ(sim.ui.column0(kList), std::vector<std::string>({"S:\\a.mp3", "S:\\b.avi", "S:\\c.txt"}));
    EXPECT_EQ(sim.ui.rowImage(kList, 1), 1) << "its rule's image, no reason";
    EXPECT_EQ(FailedRowReason(app, 1), "");
}

}  // namespace

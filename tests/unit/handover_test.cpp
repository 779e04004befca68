// Paths from the command line and the block a second start hands over.
#include <gtest/gtest.h>

#include "app/handover.h"
#include "app/startup.h"
#include "platform/sim/sim_platform.h"

namespace {

TEST(CommandLinePaths, BackslashesBeforeAQuoteStayPartOfThePath) {
    struct Case {
        std::u16string line, safe;
    } cases[] = {
        {u"a.exe C:\\x\\y.mp3", u"a.exe C:\\x\\y.mp3"},
        {u"\"C:\\a.exe\" \"K:\\\" \"D:\\歌 1.mp3\"", u"\"C:\\a.exe\" \"K:\\\\\" \"D:\\歌 1.mp3\""},
        {u"a.exe \"C:\\My Music\\\" K:\\", u"a.exe \"C:\\My Music\\\\\" K:\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(PathSafeCommandLine(c.line), c.safe);
}

TEST(CommandLinePaths, BlanksLeftOutOrderKept) {
    EXPECT_EQ(PathsFromArguments({}), u"");
    EXPECT_EQ(PathsFromArguments({u"C:\\a.mp3", u"", u"  ", u"D:\\film", u"K:\\"}), u"C:\\a.mp3\r\nD:\\film\r\nK:\\");
}

TEST(HandOverBlock, OnlyAWellFormedTaggedBlockIsRead) {
    const std::u16string good = u"C:\\a.mp3\r\nD:\\歌";
    const std::u16string zero(u"C:\\a\0b", 6);
    const std::u16string huge(kHandOverMaxChars + 1, u'a');
    struct Case {
        std::uintptr_t tag;
        const void* data;
        std::size_t bytes;
        bool read;
    } cases[] = {
        {kHandOverTag, good.data(), good.size() * 2, true},
        {kHandOverTag + 1, good.data(), good.size() * 2, false},
        {kHandOverTag, nullptr, good.size() * 2, false},
        {kHandOverTag, good.data(), 0, false},
        {kHandOverTag, good.data(), good.size() * 2 - 1, false},
        {kHandOverTag, zero.data(), zero.size() * 2, false},
        {kHandOverTag, huge.data(), huge.size() * 2, false},
    };
    for (const auto& c : cases) {
        const auto text = ReadHandOver(c.tag, c.data, c.bytes);
        EXPECT_EQ(text.has_value(), c.read) << c.bytes;
        if (text) {
            EXPECT_EQ(*text, good);
        }
    }
}

TEST(HandOverRetry, AnInstanceThatNeverTakesThemHasAMinuteThenOneMessageCountsThePaths) {
    SimPlatform second;
    second.sys.events.insert("RuzoriZE3.exe");
    second.sys.registry["RuzoriZE3.exe"] = 0x777;
    second.sys.commandLine = "C:\\a.mp3\r\nD:\\\r\nC:\\b.mp3";
    second.sys.refusedHandOvers = 1 << 30;
    const std::uint64_t start = second.sys.now;
    InitMainWindow(second.app, 0x999);
    EXPECT_EQ(second.sys.now - start, 60000u);
    ASSERT_EQ(second.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(second.ui.messageBoxes[0].text, "有3个文件或文件夹未能交给正在运行的程序，请稍后重试。");
    EXPECT_EQ(second.ui.messageBoxes[0].title, kProgramTitle);
}

}  // namespace

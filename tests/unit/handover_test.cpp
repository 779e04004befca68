// Paths from the command line and the block a second start hands over.
#include <gtest/gtest.h>

#include "app/handover.h"

namespace {

using Args = std::vector<std::u16string>;

TEST(CommandLinePaths, QuotesRepairedEmptiesDroppedOrderKept) {
    struct Case {
        Args args;
        std::u16string paths;
    } cases[] = {
        {{}, u""},
        {{u"C:\\a b\\歌.mp3"}, u"C:\\a b\\歌.mp3"},
        {{u"C:\\a.mp3", u"", u"  ", u"D:\\film", u"C:\\b.txt"}, u"C:\\a.mp3\r\nD:\\film\r\nC:\\b.txt"},
        // "K:\" and "C:\My Music\" as Explorer quotes them: the final \" escaped the quote
        {{u"K:\"", u"C:\\My Music\"", u"D:\\x\\\""}, u"K:\\\r\nC:\\My Music\\\r\nD:\\x\\"},
        {{u"C:\\x\" D:\\y"}, u"C:\\x D:\\y"},
    };
    for (const auto& c : cases) EXPECT_EQ(PathsFromArguments(c.args), c.paths);
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

}  // namespace

// Characters GBK cannot hold, carried as escapes inside GBK strings.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "paths/paths.h"
#include "text/escape.h"
#include "text/gbk.h"
#include "text/nameorder.h"

namespace {

// ö, Ø, 방 (Hangul), 😂 (beyond the BMP), the last code point, a lone surrogate.
const std::vector<char32_t> kCodePoints{0xF6, 0xD8, 0xBC29, 0x1F602, 0x10FFFF, 0xDC00};

}  // namespace

TEST(Escape, EveryCodePointRoundTripsAsASafeWord) {
    for (const char32_t c : kCodePoints) {
        const std::string e = EscapeCodePoint(c);
        ASSERT_EQ(e.size(), kEscapeSize);
        EXPECT_EQ(EscapeAt("x" + e + "y", 1), c);
        EXPECT_EQ(LowerAsciiGbk(e), e);
        EXPECT_EQ(e.find_first_of("\\.]0123456789"), std::string::npos);
        EXPECT_TRUE(std::none_of(e.begin(), e.end(), [](char b) { return static_cast<unsigned char>(b) >= 0x80; }));
    }
}

TEST(Escape, OrdinaryTextIsNoEscape) {
    for (const std::string s : {"?", "*.mp?", "?abcde", "?abcdeq", "?ABCDEF", "?bbaaaa", "a?b", "视频?"})
        for (std::size_t i = 0; i < s.size(); ++i) EXPECT_FALSE(EscapeAt(s, i)) << s << " at " << i;
}

TEST(Escape, PathHelpersAndNameOrderSeeOneWord) {
    const std::string emoji = EscapeCodePoint(0x1F602), hangul = EscapeCodePoint(0xBC29);
    const std::string folder = "D:\\" + EscapeCodePoint(0xD8) + "rsted 音乐\\";
    EXPECT_EQ(GetExtension(folder + emoji + "搞笑.MP4"), "MP4");
    EXPECT_EQ(GetExtension(folder + hangul), folder + hangul);
    EXPECT_EQ(GetFileName(folder + hangul + ".mp3"), hangul + ".mp3");
    EXPECT_EQ(GetFolderPart(folder + hangul + ".mp3"), folder);
    EXPECT_EQ(BuildDestinationPath("K:\\", "\\music", folder + hangul + ".mp3"), "K:\\music\\" + hangul + ".mp3");

    std::vector<std::string> names{emoji + "10.mp3", hangul + ".mp3", emoji + "2.mp3", "b.mp3"};
    std::sort(names.begin(), names.end(), NameLess);
    EXPECT_EQ(names, (std::vector<std::string>{hangul + ".mp3", emoji + "2.mp3", emoji + "10.mp3", "b.mp3"}));
}

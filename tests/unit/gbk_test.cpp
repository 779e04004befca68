#include <gtest/gtest.h>

#include "text/gbk.h"

namespace {
// "運" is DF 5C in GBK: its trail byte is "\".
const std::string kYun = "運";
}  // namespace

TEST(Gbk, TheTestCharacterHasABackslashTrailByte) { EXPECT_EQ(kYun, "\xDF\x5C"); }

TEST(Gbk, CharacterSizes) {
    const std::string s = "a" + kYun + "\x81";
    EXPECT_EQ(GbkCharSize(s, 0), 1u);
    EXPECT_EQ(GbkCharSize(s, 1), 2u);
    EXPECT_EQ(GbkCharSize(s, 3), 1u);  // a lead byte at the very end stands alone
    EXPECT_EQ(GbkCharSize("\x80", 0), 1u);
    EXPECT_EQ(GbkCharSize("\xFF", 0), 1u);
}

TEST(Gbk, LastIndexStepsOverTrailBytes) {
    EXPECT_EQ(LastIndexOfGbk("D:\\" + kYun, '\\'), 2u);
    EXPECT_EQ(LastIndexOfGbk("D:\\" + kYun + "\\x", '\\'), 5u);
    EXPECT_EQ(LastIndexOfGbk(kYun, '\\'), std::string::npos);
    EXPECT_EQ(LastIndexOfGbk("a.b.c", '.'), 3u);
    EXPECT_EQ(LastIndexOfGbk("", '.'), std::string::npos);
    // "盷" is B1 5D: its trail byte is "]".
    EXPECT_EQ(LastIndexOfGbk("[a]\xB1\x5D", ']'), 2u);
}

TEST(Gbk, EndsWithLooksAtTheLastCharacter) {
    EXPECT_TRUE(EndsWithGbk("K:\\", '\\'));
    EXPECT_FALSE(EndsWithGbk("K:\\" + kYun, '\\'));
    EXPECT_TRUE(EndsWithGbk("K:\\" + kYun + "\\", '\\'));
    EXPECT_FALSE(EndsWithGbk("", '\\'));
}

TEST(Gbk, LowerCaseLeavesTrailBytesAlone) {
    EXPECT_EQ(LowerAsciiGbk("MP3.Rmvb"), "mp3.rmvb");
    // B0 41 and B0 61 are two different characters.
    EXPECT_EQ(LowerAsciiGbk("A\xB0\x41Z"), "a\xB0\x41z");
    EXPECT_EQ(LowerAsciiGbk("\xB0\x61"), "\xB0\x61");
}

TEST(Gbk, CutNeverSplitsACharacter) {
    EXPECT_EQ(CutGbk("abcdef", 4), "abcd");
    EXPECT_EQ(CutGbk("ab" + kYun + "c", 3), "ab");
    EXPECT_EQ(CutGbk("ab" + kYun + "c", 4), "ab" + kYun);
    EXPECT_EQ(CutGbk("ab" + kYun, 10), "ab" + kYun);
    EXPECT_EQ(CutGbk(kYun, 1), "");
    EXPECT_EQ(CutGbk("ab\x81", 3), "ab\x81");  // a lone lead byte counts as one
    EXPECT_EQ(CutGbk("", 5), "");
}

TEST(Gbk, FirstIndexStepsOverTrailBytes) {
    const std::string path = "J:\\" + kYun + "\\a";
    EXPECT_EQ(IndexOfGbk(path, '\\'), 2u);
    EXPECT_EQ(IndexOfGbk(path, '\\', 3), 5u);
    EXPECT_EQ(IndexOfGbk(kYun + "a", '\\'), std::string::npos);
    EXPECT_EQ(IndexOfGbk("abc", 'a', 3), std::string::npos);
}

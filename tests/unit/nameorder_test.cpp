// The order of file names within a folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "text/nameorder.h"

using Strings = std::vector<std::string>;

TEST(NameOrderTest, NumbersByValueLettersWithoutCase) {
    Strings names{"Track 10.mp3", "track 2.mp3", "Track 1.mp3", "b.txt", "A.txt", "CD2", "cd10", "cD1"};
    std::sort(names.begin(), names.end(), NameLess);
    EXPECT_EQ(names, (Strings{"A.txt", "b.txt", "cD1", "CD2", "cd10", "Track 1.mp3", "track 2.mp3",
                              "Track 10.mp3"}));
}

TEST(NameOrderTest, GbkCharactersCompareByTheirBytes) {
    // 中 D6D0, 歌 B8E8; 癆 B041 and 癮 B061 differ only in a trail byte that looks like a case.
    EXPECT_TRUE(NameLess("歌.mp3", "中.mp3"));
    EXPECT_TRUE(NameLess("z.mp3", "歌.mp3"));
    EXPECT_TRUE(NameLess("癆", "癮"));
    EXPECT_FALSE(NameLess("癮", "癆"));
    EXPECT_TRUE(NameLess("淺1", "淺2"));  // a 0x5C trail byte is part of its character
}

TEST(NameOrderTest, IsAStrictTotalOrder) {
    const Strings names{"a", "A", "a1", "a01", "a001", "a1b", "a01b", "a10", "a2", "a 2", "_a", "0",
                        "00", "1", "01", "a.b", "ab", "aB", "Ab", "中", "中1", "歌", "癆", "癮", "a中",
                        "", "9", "99a", "099", "\xB0", "\xB0" "a", "a\xFE"};
    for (const auto& a : names) {
        EXPECT_FALSE(NameLess(a, a)) << a;
        for (const auto& b : names) {
            if (a != b) {
                EXPECT_NE(NameLess(a, b), NameLess(b, a)) << a << " / " << b;
            }
            for (const auto& c : names) {
                if (NameLess(a, b) && NameLess(b, c)) {
                    EXPECT_TRUE(NameLess(a, c)) << a << " " << b << " " << c;
                }
            }
        }
    }
}

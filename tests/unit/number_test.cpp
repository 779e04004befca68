// Decimal text of sizes: short, plain, and read back to the very same number.
#include <gtest/gtest.h>

#include <cstdint>

#include "text/number.h"

TEST(NumberTest, FormatsPlainDecimalWithAtMostThreePlaces) {
    EXPECT_EQ(FormatNumber(1.5), "1.5");
    EXPECT_EQ(FormatNumber(0.001), "0.001");
    EXPECT_EQ(FormatNumber(0), "0");
    EXPECT_EQ(FormatNumber(-1), "-1");
    EXPECT_EQ(FormatNumber(-0.001), "-0.001");
    EXPECT_EQ(FormatNumber(3072), "3072");
    EXPECT_EQ(FormatNumber(1.001), "1.001");
    EXPECT_EQ(FormatNumber(3145728), "3145728");
    EXPECT_EQ(FormatNumber(12345678901.25), "12345678901.25");
    EXPECT_EQ(FormatNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatNumber(-0.0004), "0");
    EXPECT_EQ(FormatNumber(1e-9), "0");
}

TEST(NumberTest, ParsesLeadingNumberOrZero) {
    EXPECT_EQ(ParseNumber("1.5"), 1.5);
    EXPECT_EQ(ParseNumber("-1"), -1);
    EXPECT_EQ(ParseNumber("-0.001"), -0.001);
    EXPECT_EQ(ParseNumber("3072"), 3072);
    EXPECT_EQ(ParseNumber(""), 0);
    EXPECT_EQ(ParseNumber("abc"), 0);
    EXPECT_EQ(ParseNumber("2.5 M"), 2.5);
}

TEST(NumberTest, EveryFileSizeTextReadsBackExactly) {
    // Byte counts spread from one byte to past 8 TiB, then a dense sweep of the first 4 MiB.
    for (std::int64_t n = 1; n < (std::int64_t{1} << 43); n = n * 3 / 2 + 7) {
        for (std::int64_t d : {-1, 0, 1, 511, 512, 513}) {
            const double v = RoundTo3(static_cast<double>(n + d) / 1048576);
            const std::string text = FormatNumber(v);
            ASSERT_EQ(ParseNumber(text), v) << n + d << " -> " << text;
            const auto dot = text.find('.');
            ASSERT_TRUE(dot == std::string::npos || text.size() - dot - 1 <= 3) << text;
        }
    }
    for (std::int64_t n = 0; n < 4194304; n += 97) {
        const double v = RoundTo3(static_cast<double>(n) / 1048576);
        ASSERT_EQ(ParseNumber(FormatNumber(v)), v) << n;
    }
}

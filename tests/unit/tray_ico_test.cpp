#include <gtest/gtest.h>

#include <vector>

#include "platform/sim/sim_platform.h"
#include "tray/ico.h"
#include "tray/tray.h"

namespace {

std::size_t OffsetIn(ResourceBytes file, ResourceBytes image) { return image.data() - file.data(); }

// A copy of the idle icon with one directory field changed.
std::vector<unsigned char> IdleWith(std::size_t at, std::uint32_t value) {
    std::vector<unsigned char> bytes(IdleTrayIcon.begin(), IdleTrayIcon.end());
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    return bytes;
}

}  // namespace

TEST(IcoImage, ReadsTheDirectoryEntries) {
    ResourceBytes small = IcoImage(IdleTrayIcon, 0), large = IcoImage(IdleTrayIcon, 1);
    EXPECT_EQ(OffsetIn(IdleTrayIcon, small), 38u);
    EXPECT_EQ(small.size(), 872u);
    EXPECT_EQ(OffsetIn(IdleTrayIcon, large), 910u);
    EXPECT_EQ(large.size(), 3240u);
    ResourceBytes busy = IcoImage(BusyTrayIcon, 0);
    EXPECT_EQ(OffsetIn(BusyTrayIcon, busy), 22u);
    EXPECT_EQ(busy.size(), 2216u);
}

TEST(IcoImage, RefusesWhatIsNotInTheFile) {
    EXPECT_TRUE(IcoImage({}, 0).empty());
    EXPECT_TRUE(IcoImage(IdleTrayIcon.first(5), 0).empty());
    EXPECT_TRUE(IcoImage(IdleTrayIcon.first(21), 0).empty());   // entry cut short
    EXPECT_EQ(IcoImage(IdleTrayIcon.first(910), 0).size(), 872u);  // ends at the last byte
    EXPECT_TRUE(IcoImage(IdleTrayIcon.first(4149), 1).empty());  // image runs past the end
    EXPECT_TRUE(IcoImage(IdleTrayIcon, 2).empty());               // only two entries
    EXPECT_TRUE(IcoImage(IdleTrayIcon, -1).empty());
    EXPECT_TRUE(IcoImage(BusyTrayIcon, 1).empty());
}

TEST(IcoImage, RefusesCorruptDirectories) {
    auto hugeOffset = IdleWith(6 + 12, 0xFFFFFFF0u);  // offset + size wraps around 32 bits
    EXPECT_TRUE(IcoImage(hugeOffset, 0).empty());
    auto hugeSize = IdleWith(6 + 8, 0xFFFFFFFFu);
    EXPECT_TRUE(IcoImage(hugeSize, 0).empty());
    auto noBytes = IdleWith(6 + 8, 0);
    EXPECT_TRUE(IcoImage(noBytes, 0).empty());
    auto cursor = IdleWith(2, 2 | (2u << 16));  // type 2 is a cursor file
    EXPECT_TRUE(IcoImage(cursor, 0).empty());
    auto lastByte = IdleWith(6 + 16 + 12, 4150 - 3240);  // exactly at the end still fits
    EXPECT_EQ(IcoImage(lastByte, 1).size(), 3240u);
}

TEST(IconFromIcoBytes, AsksTheShellOnlyForImagesInsideTheFile) {
    SimShell shell;
    EXPECT_NE(IconFromIcoBytes(shell, IdleTrayIcon, 0), 0u);
    EXPECT_EQ(IconFromIcoBytes(shell, IdleTrayIcon.first(900), 1), 0u);
    EXPECT_EQ(shell.iconImageSizes, std::vector<std::size_t>{872});
}

// The tray's icons are 16 px at 96 DPI, 20 at 120, 24 at 144 and 32 at 192.
TEST(IcoImageFor, TakesTheSmallestImageAtLeastThatBigElseTheBiggest) {
    std::vector<unsigned char> bigFirst(IdleTrayIcon.begin(), IdleTrayIcon.end());
    std::swap_ranges(bigFirst.begin() + 6, bigFirst.begin() + 22, bigFirst.begin() + 22);
    const struct {
        ResourceBytes ico;
        int size, want;
    } cases[] = {
        {IdleTrayIcon, 16, 0}, {IdleTrayIcon, 20, 1}, {IdleTrayIcon, 32, 1}, {IdleTrayIcon, 48, 1},
        {bigFirst, 16, 1},     {bigFirst, 24, 0},     {bigFirst, 48, 0},     {BusyTrayIcon, 16, 0},
        {BusyTrayIcon, 48, 0}, {{}, 16, 0},           {IdleTrayIcon.first(21), 24, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(IcoImageFor(c.ico, c.size), c.want) << c.ico.size() << " " << c.size;
}

TEST(IcoImageFor, TheTrayIconIsTakenAtTheSmallIconSize) {
    for (const auto& [side, bytes] : {std::pair{16, 872u}, {24, 3240u}}) {
        SimPlatform s;
        s.shell.smallIconSide = side;
        InstallTrayIcon(s.app, IdleTrayIcon, kProgramTitle);
        EXPECT_EQ(s.shell.iconImageSizes, std::vector<std::size_t>{bytes}) << side;
    }
}

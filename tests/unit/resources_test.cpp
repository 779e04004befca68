// The embedded pictures are loaded by Windows (icons, image list) and by the
// picture control (JPEG, GIF) with no error path the user would see, so a file
// that is subtly malformed shows up only as a blank tray or window. These
// checks read the bytes the way those loaders do.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources.h"

namespace {

unsigned byteAt(ResourceBytes b, std::size_t at) {
    if (at >= b.size()) throw std::out_of_range("read past the end at " + std::to_string(at));
    return b[at];
}
unsigned le16(ResourceBytes b, std::size_t at) { return byteAt(b, at) | byteAt(b, at + 1) << 8; }
std::uint32_t le32(ResourceBytes b, std::size_t at) { return le16(b, at) | std::uint32_t{le16(b, at + 2)} << 16; }
unsigned be16(ResourceBytes b, std::size_t at) { return byteAt(b, at) << 8 | byteAt(b, at + 1); }

struct IcoEntry {
    unsigned width, height, colours, planes, bpp;
    std::uint32_t bytes, offset;
    bool operator==(const IcoEntry&) const = default;
};

std::vector<IcoEntry> icoDirectory(ResourceBytes ico) {
    EXPECT_EQ(le16(ico, 0), 0u) << "reserved";
    EXPECT_EQ(le16(ico, 2), 1u) << "type must be icon";
    std::vector<IcoEntry> dir;
    for (unsigned i = 0, n = le16(ico, 4); i < n; ++i) {
        const std::size_t at = 6 + 16 * i;
        dir.push_back({byteAt(ico, at), byteAt(ico, at + 1), byteAt(ico, at + 2), le16(ico, at + 4),
                       le16(ico, at + 6), le32(ico, at + 8), le32(ico, at + 12)});
    }
    return dir;
}

// One icon image decoded to 0xRRGGBB, or -1 where the mask makes it transparent.
// Along the way checks the header agrees with the directory and that
// transparent pixels are black, as the XOR step needs.
std::vector<long> decodeIcoImage(ResourceBytes ico, const IcoEntry& e) {
    const ResourceBytes img = ico.subspan(e.offset, e.bytes);
    const unsigned w = e.width, h = e.height, bpp = e.bpp;
    EXPECT_EQ(le32(img, 0), 40u);
    EXPECT_EQ(le32(img, 4), w);
    EXPECT_EQ(le32(img, 8), 2 * h) << "height counts the XOR and AND halves";
    EXPECT_EQ(le16(img, 12), 1u);
    EXPECT_EQ(le16(img, 14), bpp);
    EXPECT_EQ(le32(img, 16), 0u) << "uncompressed";
    const std::size_t palette = bpp <= 8 ? 4u << bpp : 0;
    const std::size_t xorStride = (w * bpp + 31) / 32 * 4, andStride = (w + 31) / 32 * 4;
    EXPECT_EQ(40 + palette + (xorStride + andStride) * h, e.bytes);
    const std::size_t xorAt = 40 + palette, andAt = xorAt + xorStride * h;

    std::vector<long> px(std::size_t{w} * h);
    for (unsigned row = 0; row < h; ++row) {  // stored bottom-up
        for (unsigned x = 0; x < w; ++x) {
            long rgb;
            if (bpp == 24) {
                const std::size_t at = xorAt + row * xorStride + x * 3;
                rgb = long(byteAt(img, at + 2)) << 16 | byteAt(img, at + 1) << 8 | byteAt(img, at);
            } else {
                const std::size_t at = 40 + 4 * byteAt(img, xorAt + row * xorStride + x);
                rgb = long(byteAt(img, at + 2)) << 16 | byteAt(img, at + 1) << 8 | byteAt(img, at);
            }
            const bool transparent = byteAt(img, andAt + row * andStride + x / 8) & (0x80 >> x % 8);
            if (transparent) {
                EXPECT_EQ(rgb, 0) << "pixel " << x << "," << h - 1 - row;
            }
            px[(h - 1 - row) * w + x] = transparent ? -1 : rgb;
        }
    }
    return px;
}

long countTransparent(const std::vector<long>& px) {
    long n = 0;
    for (long p : px) n += p < 0;
    return n;
}

TEST(TrayIcons, IdleHolds16And32PixelTrueColourImages) {
    ASSERT_EQ(IdleTrayIcon.size(), 4150u);
    const auto dir = icoDirectory(IdleTrayIcon);
    ASSERT_EQ(dir.size(), 2u);
    EXPECT_EQ(dir[0], (IcoEntry{16, 16, 0, 1, 24, 872, 38}));
    EXPECT_EQ(dir[1], (IcoEntry{32, 32, 0, 1, 24, 3240, 910}));
    for (const auto& e : dir) {
        const auto px = decodeIcoImage(IdleTrayIcon, e);
        const long area = long(e.width) * e.height;
        // A player shape: upright body, so some corners are see-through but most is drawn.
        EXPECT_GT(countTransparent(px), 0) << e.width;
        EXPECT_LT(countTransparent(px), area / 2) << e.width;
        EXPECT_EQ(px[0], -1) << "top-left corner of the " << e.width << " px image";
    }
}

TEST(TrayIcons, BusyHoldsOne32Pixel256ColourImage) {
    ASSERT_EQ(BusyTrayIcon.size(), 2238u);
    const auto dir = icoDirectory(BusyTrayIcon);
    ASSERT_EQ(dir.size(), 1u);
    EXPECT_EQ(dir[0], (IcoEntry{32, 32, 0, 1, 8, 2216, 22}));
    const auto px = decodeIcoImage(BusyTrayIcon, dir[0]);
    EXPECT_GT(countTransparent(px), 0);
    EXPECT_LT(countTransparent(px), 32 * 32 / 2);
}

TEST(TrayIcons, BusyIsTellableFromIdleAtAGlance) {
    const auto idle = decodeIcoImage(IdleTrayIcon, icoDirectory(IdleTrayIcon).at(1));
    const auto busy = decodeIcoImage(BusyTrayIcon, icoDirectory(BusyTrayIcon).at(0));
    ASSERT_EQ(idle.size(), busy.size());
    long differ = 0;
    for (std::size_t i = 0; i < idle.size(); ++i) differ += idle[i] != busy[i];
    EXPECT_GT(differ, long(idle.size()) / 5);
}

TEST(ListIcons, StripHoldsNineDistinct16PixelImagesOnTheMagentaKey) {
    const ResourceBytes bmp = ListIconStrip;
    ASSERT_EQ(bmp.size(), 54u + 144 * 3 * 16);
    EXPECT_EQ(byteAt(bmp, 0), 'B');
    EXPECT_EQ(byteAt(bmp, 1), 'M');
    EXPECT_EQ(le32(bmp, 2), bmp.size());
    EXPECT_EQ(le32(bmp, 10), 54u) << "pixel offset";
    EXPECT_EQ(le32(bmp, 14), 40u);
    EXPECT_EQ(le32(bmp, 18), 144u);
    EXPECT_EQ(le32(bmp, 22), 16u) << "positive height: bottom-up rows";
    EXPECT_EQ(le16(bmp, 26), 1u);
    EXPECT_EQ(le16(bmp, 28), 24u);
    EXPECT_EQ(le32(bmp, 30), 0u);

    auto pixel = [&](unsigned x, unsigned y) {
        const std::size_t at = 54 + (15 - y) * 144 * 3 + x * 3;
        return long(byteAt(bmp, at + 2)) << 16 | byteAt(bmp, at + 1) << 8 | byteAt(bmp, at);
    };
    std::array<std::vector<long>, 9> cells;
    for (unsigned cell = 0; cell < 9; ++cell) {
        int drawn = 0;
        for (unsigned y = 0; y < 16; ++y)
            for (unsigned x = 0; x < 16; ++x) {
                cells[cell].push_back(pixel(cell * 16 + x, y));
                drawn += cells[cell].back() != 0xFF00FF;
            }
        // ImageList_AddMasked takes the key from what it finds; every cell needs
        // a see-through corner and enough drawing to be recognisable.
        EXPECT_EQ(pixel(cell * 16, 0), 0xFF00FF) << "cell " << cell;
        EXPECT_GE(drawn, 40) << "cell " << cell;
        EXPECT_LE(drawn, 16 * 16 - 20) << "cell " << cell;
        for (unsigned other = 0; other < cell; ++other) EXPECT_NE(cells[cell], cells[other]) << cell << " vs " << other;
    }
}

TEST(MiniPictures, IdleIsA60By60BaselineJfif) {
    const ResourceBytes jpg = MiniIdlePicture;
    ASSERT_EQ(be16(jpg, 0), 0xFFD8u) << "SOI";
    ASSERT_EQ(be16(jpg, jpg.size() - 2), 0xFFD9u) << "EOI";
    std::size_t at = 2;
    bool jfif = false, sof0 = false;
    int quantTables = 0, huffTables = 0;
    for (;;) {
        ASSERT_EQ(byteAt(jpg, at), 0xFFu) << "marker expected at " << at;
        const unsigned marker = byteAt(jpg, at + 1), length = be16(jpg, at + 2);
        const std::size_t body = at + 4;
        if (marker == 0xE0) jfif = std::string(jpg.begin() + body, jpg.begin() + body + 5) == std::string("JFIF\0", 5);
        if (marker == 0xDB) ++quantTables;
        if (marker == 0xC4) ++huffTables;
        if (marker == 0xC0) {
            sof0 = true;
            EXPECT_EQ(byteAt(jpg, body), 8u) << "precision";
            EXPECT_EQ(be16(jpg, body + 1), 60u) << "height";
            EXPECT_EQ(be16(jpg, body + 3), 60u) << "width";
            EXPECT_EQ(byteAt(jpg, body + 5), 3u) << "YCbCr";
        } else {
            // Anything but baseline (progressive, arithmetic, lossless) some decoders refuse.
            EXPECT_FALSE(marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xCC) << std::hex << marker;
        }
        at += 2 + length;
        if (marker == 0xDA) break;
    }
    EXPECT_TRUE(jfif);
    EXPECT_TRUE(sof0);
    EXPECT_GE(quantTables, 1);
    EXPECT_GE(huffTables, 1);
    // Entropy-coded data: every 0xFF is stuffed with 0x00 until the final EOI.
    for (; at + 2 < jpg.size(); ++at) {
        if (byteAt(jpg, at) == 0xFF) {
            EXPECT_EQ(byteAt(jpg, ++at), 0u) << "unstuffed 0xFF at " << at - 1;
        }
    }
    EXPECT_EQ(at, jpg.size() - 2);
}

// Just enough GIF LZW decoding to count a frame's pixels.
std::vector<unsigned> lzwDecode(const std::vector<unsigned char>& data, unsigned minSize) {
    const unsigned clear = 1u << minSize, end = clear + 1;
    std::vector<std::vector<unsigned>> table;
    auto reset = [&] {
        table.assign(clear + 2, {});
        for (unsigned i = 0; i < clear; ++i) table[i] = {i};
    };
    reset();
    unsigned width = minSize + 1;
    std::size_t bit = 0;
    std::vector<unsigned> out, prev;
    for (;;) {
        if (bit + width > data.size() * 8) throw std::runtime_error("LZW data ends without an end code");
        unsigned code = 0;
        for (unsigned k = 0; k < width; ++k, ++bit) code |= ((data[bit / 8] >> bit % 8) & 1u) << k;
        if (code == end) return out;
        if (code == clear) {
            reset();
            width = minSize + 1;
            prev.clear();
            continue;
        }
        std::vector<unsigned> entry;
        if (code < table.size()) entry = table[code];
        else if (code == table.size() && !prev.empty()) (entry = prev).push_back(prev[0]);
        else throw std::runtime_error("LZW code " + std::to_string(code) + " not in the table");
        out.insert(out.end(), entry.begin(), entry.end());
        if (!prev.empty() && table.size() < 4096) {
            prev.push_back(entry[0]);
            table.push_back(prev);
            if (table.size() == (1u << width) && width < 12) ++width;
        }
        prev = entry;
    }
}

TEST(MiniPictures, BusyIsA50By50GifLoopingFiveFrames) {
    const ResourceBytes gif = MiniBusyPicture;
    ASSERT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
    EXPECT_EQ(le16(gif, 6), 50u);
    EXPECT_EQ(le16(gif, 8), 50u);
    const unsigned flags = byteAt(gif, 10);
    const unsigned globalColours = flags & 0x80 ? 2u << (flags & 7) : 0;
    EXPECT_GT(globalColours, 0u);
    std::size_t at = 13 + 3 * globalColours;

    auto subBlocks = [&](std::vector<unsigned char>* into) {
        for (unsigned n; (n = byteAt(gif, at++)) != 0; at += n) {
            byteAt(gif, at + n - 1);  // throws if the block runs past the end
            if (into) into->insert(into->end(), gif.begin() + at, gif.begin() + at + n);
        }
    };
    bool loops = false;
    int delays = 0;
    std::vector<std::vector<unsigned>> frames;
    for (;;) {
        const unsigned block = byteAt(gif, at++);
        if (block == 0x3B) break;
        if (block == 0x21) {
            const unsigned label = byteAt(gif, at++);
            if (label == 0xFF && byteAt(gif, at) == 11)
                loops |= std::string(gif.begin() + at + 1, gif.begin() + at + 12) == "NETSCAPE2.0";
            if (label == 0xF9) {
                EXPECT_EQ(byteAt(gif, at), 4u);
                delays += le16(gif, at + 2) > 0;
            }
            subBlocks(nullptr);
        } else if (block == 0x2C) {
            EXPECT_EQ(le16(gif, at), 0u);
            EXPECT_EQ(le16(gif, at + 2), 0u);
            EXPECT_EQ(le16(gif, at + 4), 50u);
            EXPECT_EQ(le16(gif, at + 6), 50u);
            EXPECT_EQ(byteAt(gif, at + 8) & 0x80, 0u) << "frames share the global palette";
            const unsigned minSize = byteAt(gif, at + 9);
            at += 10;
            std::vector<unsigned char> data;
            subBlocks(&data);
            frames.push_back(lzwDecode(data, minSize));
        } else {
            FAIL() << "unknown block " << block << " at " << at - 1;
        }
    }
    EXPECT_EQ(at, gif.size()) << "trailer is the last byte";
    EXPECT_TRUE(loops);
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(delays, 5) << "every frame has a delay";
    for (std::size_t f = 0; f < frames.size(); ++f) {
        EXPECT_EQ(frames[f].size(), 50u * 50u) << "frame " << f;
        for (unsigned index : frames[f]) ASSERT_LT(index, globalColours) << "frame " << f;
        if (f) {
            EXPECT_NE(frames[f], frames[f - 1]) << "frame " << f << " does not move";
        }
    }
}

}  // namespace

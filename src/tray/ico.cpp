#include "tray/ico.h"

#include <cstdint>

namespace {

constexpr std::size_t kHeaderSize = 6, kEntrySize = 16;

std::uint32_t ReadLe(ResourceBytes bytes, std::size_t at, int width) {
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i) v = (v << 8) | bytes[at + i];
    return v;
}

}  // namespace

ResourceBytes IcoImage(ResourceBytes ico, int index) {
    if (index < 0 || ico.size() < kHeaderSize) return {};
    const bool isIcon = ReadLe(ico, 0, 2) == 0 && ReadLe(ico, 2, 2) == 1;
    if (!isIcon || static_cast<std::uint32_t>(index) >= ReadLe(ico, 4, 2)) return {};
    const std::size_t entry = kHeaderSize + kEntrySize * static_cast<std::size_t>(index);
    if (entry + kEntrySize > ico.size()) return {};
    const std::size_t size = ReadLe(ico, entry + 8, 4), offset = ReadLe(ico, entry + 12, 4);
    // Compared without adding, so a huge offset cannot wrap around.
    if (size == 0 || offset > ico.size() || size > ico.size() - offset) return {};
    return ico.subspan(offset, size);
}

int IcoImageFor(ResourceBytes ico, int size) {
    auto width = [&](int i) {
        const int stored = ico[kHeaderSize + kEntrySize * static_cast<std::size_t>(i)];
        return stored ? stored : 256;  // 0 stands for 256
    };
    int best = 0;
    for (int i = 1; !IcoImage(ico, i).empty(); ++i) {
        const bool fits = width(i) >= size, bestFits = width(best) >= size;
        if (fits ? !bestFits || width(i) < width(best) : !bestFits && width(i) > width(best)) best = i;
    }
    return best;
}

IconHandle IconFromIcoBytes(Shell& shell, ResourceBytes ico, int index) {
    const ResourceBytes image = IcoImage(ico, index);
    return image.empty() ? 0 : shell.iconFromImage(image.data(), image.size());
}

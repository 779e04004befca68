#include "platform/win32/frames_win.h"

#include <objidl.h>

#include <algorithm>
#include <cstring>
#include <memory>

// The GDI+ headers expect min and max, which NOMINMAX keeps out of the global namespace.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

namespace {

constexpr UINT kDefaultDelayMs = 100;  // a frame that states no delay

void StartGdiplusOnce() {
    static const ULONG_PTR token = [] {
        ULONG_PTR t = 0;
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&t, &input, nullptr);
        return t;
    }();
    (void)token;
}

struct StreamRelease {
    void operator()(IStream* s) const { s->Release(); }
};
using Stream = std::unique_ptr<IStream, StreamRelease>;

Stream StreamOf(ResourceBytes bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory) return nullptr;
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(memory, TRUE, &stream) != S_OK) {
        GlobalFree(memory);
        return nullptr;
    }
    ULARGE_INTEGER exact;
    exact.QuadPart = bytes.size();
    stream->SetSize(exact);  // the memory block may be larger than asked for
    return Stream(stream);
}

// PropertyTagFrameDelay holds one 32-bit value per frame, in hundredths of a second.
std::vector<UINT> FrameDelays(Gdiplus::Image& image, UINT frames) {
    std::vector<UINT> delays(frames, kDefaultDelayMs);
    const UINT size = image.GetPropertyItemSize(PropertyTagFrameDelay);
    if (size < sizeof(Gdiplus::PropertyItem)) return delays;
    std::vector<std::uint64_t> buffer((size + 7) / 8);
    auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
    if (image.GetPropertyItem(PropertyTagFrameDelay, size, item) != Gdiplus::Ok) return delays;
    const auto* values = static_cast<const UINT*>(item->value);
    const UINT stated = std::min<UINT>(frames, item->length / sizeof(UINT));
    for (UINT i = 0; i < stated; ++i)
        if (values[i] != 0) delays[i] = values[i] * 10;
    return delays;
}

HBITMAP Fitted(Gdiplus::Image& image, int size) {
    const double scale = std::min(double(size) / image.GetWidth(), double(size) / image.GetHeight());
    const int w = int(image.GetWidth() * scale), h = int(image.GetHeight() * scale);
    Gdiplus::Bitmap canvas(size, size, PixelFormat32bppARGB);
    Gdiplus::Graphics g(&canvas);
    g.Clear(Gdiplus::Color(255, 255, 255, 255));
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    g.DrawImage(&image, (size - w) / 2, (size - h) / 2, w, h);
    HBITMAP bitmap = nullptr;
    canvas.GetHBITMAP(Gdiplus::Color(255, 255, 255), &bitmap);
    return bitmap;
}

// A 24-bit bitmap of the canvas: pixels the scaling left less than half covered become the
// key, the rest opaque (an image list takes a 32-bit bitmap's alpha over its mask).
HBITMAP KeyedBitmap(Gdiplus::Bitmap& canvas, COLORREF key) {
    const Gdiplus::Rect all(0, 0, int(canvas.GetWidth()), int(canvas.GetHeight()));
    Gdiplus::BitmapData data;
    if (canvas.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), all.Width, -all.Height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const UINT stride = (data.Width * 3 + 3) & ~3u;
    for (UINT y = 0; bitmap && y < data.Height; ++y) {
        const auto* from = reinterpret_cast<const UINT*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
        BYTE* to = static_cast<BYTE*>(bits) + y * stride;
        for (UINT x = 0; x < data.Width; ++x, to += 3) {
            const UINT argb = from[x];
            const bool covered = argb >> 24 >= 128;
            to[0] = covered ? BYTE(argb) : GetBValue(key);
            to[1] = covered ? BYTE(argb >> 8) : GetGValue(key);
            to[2] = covered ? BYTE(argb >> 16) : GetRValue(key);
        }
    }
    canvas.UnlockBits(&data);
    return bitmap;
}

}  // namespace

HBITMAP KeyedStrip(ResourceBytes image, int height, COLORREF key) {
    StartGdiplusOnce();
    Stream stream = StreamOf(image);
    if (!stream) return nullptr;
    Gdiplus::Bitmap strip(stream.get());
    const int w = int(strip.GetWidth()), h = int(strip.GetHeight());
    if (strip.GetLastStatus() != Gdiplus::Ok || h == 0) return nullptr;
    const int width = MulDiv(w, height, h);
    Gdiplus::Bitmap canvas(width, height, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&canvas);
        g.Clear(Gdiplus::Color(0, 0, 0, 0));
        g.SetInterpolationMode(height == h ? Gdiplus::InterpolationModeNearestNeighbor
                                           : Gdiplus::InterpolationModeHighQualityBicubic);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        Gdiplus::ImageAttributes keyed;
        const Gdiplus::Color c(GetRValue(key), GetGValue(key), GetBValue(key));
        keyed.SetColorKey(c, c);
        g.DrawImage(&strip, Gdiplus::Rect(0, 0, width, height), 0, 0, w, h, Gdiplus::UnitPixel, &keyed);
    }
    return KeyedBitmap(canvas, key);
}

std::vector<PictureFrame> RenderFrames(ResourceBytes bytes, int size) {
    StartGdiplusOnce();
    Stream stream = StreamOf(bytes);
    if (!stream) return {};
    Gdiplus::Image image(stream.get());
    if (image.GetLastStatus() != Gdiplus::Ok || image.GetWidth() == 0 || image.GetHeight() == 0) return {};
    GUID time = Gdiplus::FrameDimensionTime;
    const UINT frames = std::max<UINT>(image.GetFrameCount(&time), 1);
    const std::vector<UINT> delays = FrameDelays(image, frames);
    std::vector<PictureFrame> out;
    for (UINT i = 0; i < frames; ++i) {
        if (frames > 1) image.SelectActiveFrame(&time, i);
        out.push_back({Fitted(image, size), delays[i]});
    }
    return out;
}

void FreeFrames(std::vector<PictureFrame>& frames) {
    for (const PictureFrame& f : frames) DeleteObject(f.bitmap);
    frames.clear();
}

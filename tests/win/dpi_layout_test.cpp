// The main window laid out for each DPI through WM_DPICHANGED: the tables' pixels scaled,
// the window where Windows suggests, and every text fitting the control that shows it.
#include <gtest/gtest.h>

#include <string>

#include "platform/layout.h"
#include "platform/win32/dpi_win.h"
#include "real_window.h"

namespace {

int TextWidth(HWND control, const std::string& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

int ClientWidth(HWND control) {
    RECT r;
    GetClientRect(control, &r);
    return r.right;
}

// What a control draws beside its caption: a button's edges, a check box's box and gap,
// a drop list's arrow button and edges.
int Beside(Kind kind, UINT dpi) {
    const int edge = GetSystemMetricsForDpi(SM_CXEDGE, dpi);
    switch (kind) {
    case Kind::Button: return 2 * edge;
    case Kind::CheckBox: return GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi) + edge;
    case Kind::DropList: return GetSystemMetricsForDpi(SM_CXVSCROLL, dpi) + 2 * edge;
    default: return 0;
    }
}

Rect PlacedIn(HWND main, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

struct DpiLayout : RealWindow, ::testing::WithParamInterface<UINT> {
    UINT dpi = GetParam();
    void SetUp() override {
        RealWindow::SetUp();
        const WindowDecl& w = WindowLayout(Wnd::Main);
        suggested = {7, 9, 7 + Scaled(w.w, dpi), 9 + Scaled(w.h, dpi)};
        SendMessageA(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
    RECT suggested{};
    int ColumnWidth(const ColumnDecl& col) {
        return static_cast<int>(SendMessageA(ui.control(col.list), LVM_GETCOLUMNWIDTH, ColumnIndex(col), 0));
    }
};

TEST_P(DpiLayout, MovesToTheSuggestedRectangleWithEveryControlScaled) {
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_TRUE(EqualRect(&r, &suggested));
    for (const auto& c : MainControls()) {
        const Rect want = ClientRect(c.id), got = PlacedIn(main, ui.control(c.id));
        EXPECT_EQ(got.x, Scaled(want.x, dpi)) << c.caption;
        EXPECT_EQ(got.y, Scaled(want.y, dpi)) << c.caption;
        EXPECT_EQ(got.w, Scaled(want.w, dpi)) << c.caption;
        if (c.kind != Kind::DropList) {
            EXPECT_EQ(got.h, Scaled(want.h, dpi)) << c.caption;
        }
    }
    for (const auto& col : ListColumns())
        EXPECT_EQ(ColumnWidth(col), Scaled(col.width, dpi)) << col.header;
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(ui.control(Ctl::按钮_复制), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -Scaled(12, dpi));
    int image = 0;
    ImageList_GetIconSize(ListView_GetImageList(ui.control(Ctl::超级列表框), LVSIL_SMALL), &image, &image);
    EXPECT_EQ(image, Scaled(16, dpi));
}

TEST_P(DpiLayout, MiniAndProgressWindowsFollowTheirDpiToo) {
    for (Wnd w : {Wnd::Mini, Wnd::Progress}) {
        ui.loadWindow(w);
        SendMessageA(ui.window(w), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
    RECT r;
    GetWindowRect(ui.window(Wnd::Mini), &r);
    EXPECT_EQ(r.left, suggested.left);
    EXPECT_EQ(r.right - r.left, Scaled(48, dpi));
    GetClientRect(ui.control(Ctl::图片框1), &r);
    EXPECT_EQ(r.right, Scaled(48, dpi));
    EXPECT_EQ(r.bottom, Scaled(48, dpi));
    const HWND progress = ui.window(Wnd::Progress);
    for (const auto& c : ProgressControls()) {
        const Rect got = PlacedIn(progress, GetDlgItem(progress, kFirstProgressControlId + static_cast<int>(c.id)));
        EXPECT_EQ(got.x, Scaled(c.x, dpi));
        EXPECT_EQ(got.w, Scaled(c.w, dpi));
    }
}

TEST_P(DpiLayout, EveryCaptionFitsItsControl) {
    for (const auto& c : MainControls()) {
        const HWND h = ui.control(c.id);
        EXPECT_LE(TextWidth(h, c.caption) + Beside(c.kind, dpi), ClientWidth(h)) << c.caption << " at " << dpi;
    }
    const HWND combo = ui.control(Ctl::组合框_复制方法);
    for (const char* item : CopyMethodItems())
        EXPECT_LE(TextWidth(combo, item) + Beside(Kind::DropList, dpi), ClientWidth(combo)) << item << " at " << dpi;
    for (const auto& col : ListColumns()) {
        const HWND header = ListView_GetHeader(ui.control(col.list));
        EXPECT_LE(TextWidth(header, col.header) + 2 * Beside(Kind::Button, dpi), ColumnWidth(col))
            << col.header << " at " << dpi;
    }
}

INSTANTIATE_TEST_SUITE_P(At, DpiLayout, ::testing::Values(96u, 120u, 144u, 192u));

}  // namespace

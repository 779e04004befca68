// Builds the windows, controls, menus and the image list from the layout tables.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <ranges>
#include <vector>

#include "app/about.h"
#include "app/layout.h"
#include "platform/win32/rowtips_win.h"
#include "platform/win32/win_ui.h"
#include "resources.h"

LRESULT CALLBACK MainWindowProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ProgressWindowProc(HWND, UINT, WPARAM, LPARAM);

namespace {

struct KindClass {
    const char* cls;
    DWORD style;
    DWORD exStyle;
};

KindClass ClassOf(Kind kind) {
    switch (kind) {
    case Kind::Tab: return {WC_TABCONTROLA, 0, 0};
    case Kind::GroupBox: return {"BUTTON", BS_GROUPBOX, 0};
    case Kind::ListView:
        return {WC_LISTVIEWA, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case Kind::Button: return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case Kind::Label: return {"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case Kind::Edit: return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case Kind::ReadOnlyEdit: return {"EDIT", ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE};
    case Kind::AboutEdit:
        return {"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case Kind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case Kind::DropList: return {WC_COMBOBOXA, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case Kind::Progress: return {PROGRESS_CLASSA, PBS_SMOOTH, 0};
    case Kind::Picture: return {"STATIC", SS_NOTIFY, 0};
    }
    return {"STATIC", 0, 0};
}

// Styles of single controls beyond their kind's. The status line shortens a long path in
// its middle, so the file name and the end of the text stay in view.
DWORD OwnStyle(Ctl id) {
    if (id == Ctl::标签_显示大小) return SS_SUNKEN;
    if (id == Ctl::标签3) return SS_PATHELLIPSIS;
    return 0;
}

// Containers go below everything else, so they never paint over their contents.
bool IsContainer(Kind kind) { return kind == Kind::Tab || kind == Kind::GroupBox; }

// A group box draws only its frame. It fills its inside in the page colour first, so
// that nothing below it (the tab control) has to paint there in the right order.
LRESULT CALLBACK GroupBoxProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR brush) {
    if (msg == WM_PAINT) {
        RECT inside;
        GetClientRect(h, &inside);
        HDC dc = GetDC(h);
        FillRect(dc, &inside, reinterpret_cast<HBRUSH>(brush));
        ReleaseDC(h, dc);
    }
    return DefSubclassProc(h, msg, wParam, lParam);
}

HFONT UiFont() {
    return CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Microsoft YaHei");
}

HIMAGELIST ListImages() {
    const auto* file = reinterpret_cast<const BITMAPFILEHEADER*>(ListIconStrip.data());
    const auto* info = reinterpret_cast<const BITMAPINFO*>(ListIconStrip.data() + sizeof(BITMAPFILEHEADER));
    HDC dc = GetDC(nullptr);
    HBITMAP strip = CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, ListIconStrip.data() + file->bfOffBits, info,
                                   DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 8, 0);
    ImageList_AddMasked(list, strip, RGB(255, 0, 255));
    DeleteObject(strip);
    return list;
}

void AddColumns(HWND list, Ctl id) {
    int index = 0;
    for (const auto& col : ListColumns()) {
        if (col.list != id) continue;
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH;
        c.pszText = const_cast<char*>(col.header);
        c.cx = col.width;
        SendMessageA(list, LVM_INSERTCOLUMNA, index++, reinterpret_cast<LPARAM>(&c));
    }
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
}

void FillTabs(HWND tab) {
    int index = 0;
    for (const char* page : TabPages()) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(page);
        SendMessageA(tab, TCM_INSERTITEMA, index++, reinterpret_cast<LPARAM>(&item));
    }
}

HMENU BuildMenu(Wnd window) {
    HMENU menu = CreatePopupMenu();
    for (const auto& m : Menus()) {
        if (m.window != window) continue;
        if (!m.caption) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuA(menu, MF_STRING | (m.enabled ? MF_ENABLED : MF_GRAYED),
                    kFirstMenuId + static_cast<int>(m.id), m.caption);
    }
    return menu;
}

HWND MakeControl(HWND parent, const char* cls, DWORD style, DWORD exStyle, const Rect& r, int id,
                 const char* caption, HFONT font) {
    HWND h = CreateWindowExA(exStyle, cls, caption, WS_CHILD | WS_CLIPSIBLINGS | style, r.x, r.y, r.w, r.h,
                             parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                             nullptr);
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return h;
}

void RegisterClassOnce(const char* name, WNDPROC proc) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExA(GetModuleHandleA(nullptr), name, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(1));
    wc.hIconSm = static_cast<HICON>(LoadImageA(wc.hInstance, MAKEINTRESOURCEA(1), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
}

}  // namespace

HWND WinUi::createMainWindow(HINSTANCE instance) {
    mainThread_ = GetCurrentThreadId();
    RegisterClassOnce(kMainWindowClass, MainWindowProc);
    const WindowDecl& w = WindowLayout(Wnd::Main);
    return CreateWindowExA(0, kMainWindowClass, w.caption,
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, w.x, w.y, w.w,
                           w.h, nullptr, nullptr, instance, nullptr);
}

void WinUi::createControls(Wnd which, HWND parent) {
    windows_[static_cast<int>(which)] = parent;
    if (which == Wnd::Progress) {
        if (!font_) font_ = UiFont();
        for (const auto& c : ProgressControls()) {
            const KindClass k = ClassOf(c.kind);
            progressControls_[static_cast<int>(c.id)] =
                MakeControl(parent, k.cls, k.style | WS_VISIBLE, k.exStyle, {c.x, c.y, c.w, c.h},
                            kFirstProgressControlId + static_cast<int>(c.id), c.caption, font_);
        }
        return;
    }
    font_ = UiFont();
    images_ = ListImages();
    colors_[static_cast<int>(Ctl::标签_显示大小)] = MakeRgb(0, 0, 255);
    // Containers last and innermost first: each new window goes below its siblings,
    // so the tab control ends at the bottom and group boxes never cover their contents.
    std::vector<const ControlDecl*> order;
    for (const auto& c : MainControls())
        if (!IsContainer(c.kind)) order.push_back(&c);
    for (const auto& c : std::views::reverse(MainControls()))
        if (IsContainer(c.kind)) order.push_back(&c);
    for (const ControlDecl* c : order) {
        const KindClass k = ClassOf(c->kind);
        Rect r = ClientRect(c->id);
        if (c->kind == Kind::DropList) r.h += 120;  // room for the drop-down part
        const DWORD style = k.style | OwnStyle(c->id);
        HWND h = MakeControl(parent, k.cls, style, k.exStyle, r, kFirstControlId + static_cast<int>(c->id),
                             c->caption, font_);
        controls_[static_cast<int>(c->id)] = h;
        if (c->kind == Kind::ListView) {
            AddColumns(h, c->id);
            SendMessageA(h, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_));
        }
        if (c->id == Ctl::超级列表框) AttachRowTips(parent, h);
        // Themed bars ignore their colour; " " names no theme (an empty name is not enough for Wine).
        if (c->kind == Kind::Progress) SetWindowTheme(h, L" ", L" ");
    }
    // A themed tab control paints its pages in the window colour, a classic one in the face colour.
    pageBrush_ = GetSysColorBrush(GetWindowTheme(control(Ctl::选择夹1)) ? COLOR_WINDOW : COLOR_BTNFACE);
    for (const auto& c : MainControls())
        if (c.kind == Kind::GroupBox)
            SetWindowSubclass(control(c.id), GroupBoxProc, 0, reinterpret_cast<DWORD_PTR>(pageBrush_));
    FillTabs(control(Ctl::选择夹1));
    for (const char* item : CopyMethodItems())
        SendMessageA(control(Ctl::组合框_复制方法), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SetWindowTextA(control(Ctl::编辑框1), AboutText().c_str());
    EnableWindow(control(Ctl::按钮_取消), FALSE);
    menus_[0] = BuildMenu(Wnd::Main);
    menus_[1] = BuildMenu(Wnd::Mini);
    ShowWindow(control(Ctl::选择夹1), SW_SHOW);
    showPage(0);
}

void WinUi::showPage(int page) {
    for (const auto& c : MainControls())
        if (c.page != kNoPage) ShowWindow(control(c.id), c.page == page ? SW_SHOW : SW_HIDE);
}

void WinUi::loadWindow(Wnd w) {
    if (windowCreated(w)) return;
    if (w == Wnd::Mini) {
        windows_[static_cast<int>(w)] = CreateMiniWindow(window(Wnd::Main));
        return;
    }
    RegisterClassOnce(kProgressWindowClass, ProgressWindowProc);
    const WindowDecl& d = WindowLayout(Wnd::Progress);
    HWND h = CreateWindowExA(0, kProgressWindowClass, d.caption, WS_OVERLAPPEDWINDOW, d.x, d.y, d.w, d.h, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    createControls(Wnd::Progress, h);
    ShowWindow(h, SW_SHOWNOACTIVATE);
}

HMENU WinUi::menu(Wnd w) const { return menus_[w == Wnd::Main ? 0 : 1]; }

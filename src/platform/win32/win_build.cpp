// Builds the windows, controls, menus and the image list from the layout tables.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <vector>

#include "platform/about.h"
#include "platform/layout.h"
#include "platform/win32/dpi_win.h"
#include "platform/win32/frames_win.h"
#include "platform/win32/rowtips_win.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win_ui.h"
#include "resources.h"

LRESULT CALLBACK MainWindowProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ProgressWindowProc(HWND, UINT, WPARAM, LPARAM);

namespace {

struct KindClass {
    const wchar_t* cls;
    DWORD style;
    DWORD exStyle;
};

KindClass ClassOf(Kind kind) {
    switch (kind) {
    case Kind::Tab: return {WC_TABCONTROLW, WS_TABSTOP, 0};  // its arrow keys turn the pages
    case Kind::GroupBox: return {L"BUTTON", BS_GROUPBOX, 0};
    case Kind::ListView:
        return {WC_LISTVIEWW, LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case Kind::Button: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case Kind::Label: return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case Kind::Edit: return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case Kind::ReadOnlyEdit: return {L"EDIT", ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE};
    case Kind::AboutEdit:
        return {L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case Kind::CheckBox: return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case Kind::DropList: return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case Kind::Progress: return {PROGRESS_CLASSW, PBS_SMOOTH, 0};
    case Kind::Picture: return {L"STATIC", SS_NOTIFY, 0};
    }
    return {L"STATIC", 0, 0};
}

// Styles of single controls beyond their kind's. The status line shortens a long path in
// its middle, so the file name and the end of the text stay in view.
DWORD OwnStyle(Ctl id) {
    if (id == Ctl::标签_显示大小) return SS_SUNKEN;
    if (id == Ctl::标签3) return SS_PATHELLIPSIS;
    return 0;
}

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

HFONT UiFont(UINT dpi) {
    return CreateFontW(-Scaled(12, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Microsoft YaHei");
}

constexpr int kListImageSize = 16;
constexpr COLORREF kListImageKey = RGB(255, 0, 255);

HIMAGELIST ListImages(UINT dpi) {
    const int size = Scaled(kListImageSize, dpi);
    HBITMAP strip = KeyedStrip(ListIconStrip, size, kListImageKey);
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 9, 0);
    ImageList_AddMasked(list, strip, kListImageKey);
    DeleteObject(strip);
    return list;
}

// The columns come with their captions; their widths are the layout's.
void AddColumns(HWND list, Ctl id) {
    int index = 0;
    for (const auto& col : ListColumns()) {
        if (col.list != id) continue;
        std::wstring header = Wide(col.header);
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT;
        c.pszText = header.data();
        SendMessageW(list, LVM_INSERTCOLUMNW, index++, reinterpret_cast<LPARAM>(&c));
    }
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
}

void Place(HWND h, const Rect& r, UINT dpi, HFONT font) {
    SetWindowPos(h, nullptr, Scaled(r.x, dpi), Scaled(r.y, dpi), Scaled(r.w, dpi), Scaled(r.h, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// The declared outer rectangle of a top-level window, at the DPI it will show at.
HWND MakeWindow(const char* cls, Wnd which, DWORD style, HINSTANCE instance) {
    const WindowDecl& w = WindowLayout(which);
    const UINT dpi = GetDpiForSystem();
    return CreateWindowExW(0, Wide(cls).c_str(), Wide(w.caption).c_str(), style, Scaled(w.x, dpi), Scaled(w.y, dpi), Scaled(w.w, dpi),
                           Scaled(w.h, dpi), nullptr, nullptr, instance, nullptr);
}

void FillTabs(HWND tab) {
    int index = 0;
    for (const char* page : TabPages()) {
        std::wstring text = Wide(page);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(tab, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&item));
    }
}

HMENU BuildMenu(Wnd window) {
    HMENU menu = CreatePopupMenu();
    for (const auto& m : Menus()) {
        if (m.window != window) continue;
        if (!m.caption) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuW(menu, MF_STRING | (m.enabled ? MF_ENABLED : MF_GRAYED),
                    kFirstMenuId + static_cast<int>(m.id), Wide(m.caption).c_str());
    }
    return menu;
}

// Placed, sized and given a font by WinUi::layOut.
HWND MakeControl(HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle, int id, const char* caption) {
    return CreateWindowExW(exStyle, cls, Wide(caption).c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void RegisterClassOnce(const char* className, WNDPROC proc) {
    const std::wstring name = Wide(className);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name.c_str(), &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    wc.hIconSm = static_cast<HICON>(LoadImageW(wc.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name.c_str();
    RegisterClassExW(&wc);
}

}  // namespace

HWND WinUi::createMainWindow(HINSTANCE instance) {
    mainThread_ = GetCurrentThreadId();
    RegisterClassOnce(kMainWindowClass, MainWindowProc);
    return MakeWindow(kMainWindowClass, Wnd::Main,
                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, instance);
}

void WinUi::createControls(Wnd which, HWND parent) {
    windows_[static_cast<int>(which)] = parent;
    if (which == Wnd::Progress) {
        for (const auto& c : ProgressControls()) {
            const KindClass k = ClassOf(c.kind);
            progressControls_[static_cast<int>(c.id)] = MakeControl(
                parent, k.cls, k.style | WS_VISIBLE, k.exStyle, kFirstProgressControlId + static_cast<int>(c.id),
                c.caption);
        }
        layOut(which, GetDpiForWindow(parent));
        return;
    }
    colors_[static_cast<int>(Ctl::标签_显示大小)] = MakeRgb(0, 0, 255);
    // Each new window goes below its siblings, so the order made is the z-order.
    for (Ctl id : CreationOrder()) {
        const ControlDecl& c = FindControl(id);
        const KindClass k = ClassOf(c.kind);
        const DWORD style = k.style | OwnStyle(id);
        HWND h = MakeControl(parent, k.cls, style, k.exStyle, kFirstControlId + static_cast<int>(id), c.caption);
        controls_[static_cast<int>(id)] = h;
        if (c.kind == Kind::ListView) AddColumns(h, id);
        if (id == Ctl::超级列表框) AttachRowTips(parent, h);
        // Themed bars ignore their colour; " " names no theme (an empty name is not enough for Wine).
        if (c.kind == Kind::Progress) SetWindowTheme(h, L" ", L" ");
    }
    // A themed tab control paints its pages in the window colour, a classic one in the face colour.
    pageBrush_ = GetSysColorBrush(GetWindowTheme(control(Ctl::选择夹1)) ? COLOR_WINDOW : COLOR_BTNFACE);
    for (const auto& c : MainControls())
        if (c.kind == Kind::GroupBox)
            SetWindowSubclass(control(c.id), GroupBoxProc, 0, reinterpret_cast<DWORD_PTR>(pageBrush_));
    FillTabs(control(Ctl::选择夹1));
    for (const char* item : CopyMethodItems())
        SendMessageW(control(Ctl::组合框_复制方法), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    SetWindowTextW(control(Ctl::编辑框1), Wide(AboutText()).c_str());
    EnableWindow(control(Ctl::按钮_取消), FALSE);
    menus_[0] = BuildMenu(Wnd::Main);
    menus_[1] = BuildMenu(Wnd::Mini);
    layOut(which, GetDpiForWindow(parent));
    ShowWindow(control(Ctl::选择夹1), SW_SHOW);
    showPage(0);
}

// The one place where the tables' pixels meet the DPI: positions, sizes, column widths,
// list images and the font.
void WinUi::layOut(Wnd which, UINT dpi) {
    HFONT& font = fonts_[static_cast<int>(which)];
    HFONT old = font;
    font = UiFont(dpi);
    if (which == Wnd::Progress) {
        for (const auto& c : ProgressControls())
            Place(progressControls_[static_cast<int>(c.id)], {c.x, c.y, c.w, c.h}, dpi, font);
    } else {
        for (const auto& c : MainControls()) {
            Rect r = ClientRect(c.id);
            if (c.kind == Kind::DropList) r.h += 120;  // room for the drop-down part
            Place(control(c.id), r, dpi, font);
        }
        for (const auto& col : ListColumns())
            SendMessageW(control(col.list), LVM_SETCOLUMNWIDTH, ColumnIndex(col), Scaled(col.width, dpi));
        HIMAGELIST images = ListImages(dpi);
        for (const auto& c : MainControls())
            if (c.kind == Kind::ListView)
                SendMessageW(control(c.id), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
        if (images_) ImageList_Destroy(images_);
        images_ = images;
    }
    if (old) DeleteObject(old);
}

void WinUi::moveToDpi(Wnd which, UINT dpi, const RECT& suggested) {
    SetWindowPos(window(which), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    layOut(which, dpi);
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
    HWND h = MakeWindow(kProgressWindowClass, Wnd::Progress, WS_OVERLAPPEDWINDOW, GetModuleHandleW(nullptr));
    createControls(Wnd::Progress, h);
    ShowWindow(h, SW_SHOWNOACTIVATE);
}

HMENU WinUi::menu(Wnd w) const { return menus_[w == Wnd::Main ? 0 : 1]; }

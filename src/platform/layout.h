#pragma once
// The windows, controls and menus, declared as tables: what the platform builds. Both the
// real windows and the simulator are made from them.
#include <span>
#include <vector>

#include "platform/ids.h"

enum class Kind {
    Tab, GroupBox, ListView, Button, Label, Edit, ReadOnlyEdit, AboutEdit, CheckBox,
    DropList, Progress, Picture
};

constexpr int kNoPage = -1;
constexpr Ctl kNoParent = Ctl::Count;

struct ControlDecl {
    Ctl id;
    Kind kind;
    Ctl parent;    // position is relative to this control's client area, or the window's
    int page;      // the tab page that shows it, or kNoPage
    int x, y, w, h;
    const char* caption;
};

struct Rect {
    int x, y, w, h;
};

struct ColumnDecl {
    Ctl list;
    const char* header;
    int width;
};

struct MenuDecl {
    MenuItem id;
    Wnd window;
    const char* caption;  // nullptr for a separator before the next item
    bool enabled;
};

struct WindowDecl {
    Wnd id;
    int x, y, w, h;  // outer rectangle
    const char* caption;
};

std::span<const ControlDecl> MainControls();
std::span<const ControlDecl> MiniControls();
std::span<const ColumnDecl> ListColumns();
int ColumnIndex(const ColumnDecl&);  // its place among its list's columns
std::span<const char* const> TabPages();
std::span<const char* const> CopyMethodItems();
std::span<const MenuDecl> Menus();
const WindowDecl& WindowLayout(Wnd);
const ControlDecl& FindControl(Ctl);

// A control's rectangle in its window's client area: its own position plus its parents'.
Rect ClientRect(Ctl);

// The main window's controls in the order they are made, which is their z-order from the
// top: the controls that take input in reading order (so that is also the Tab order),
// then labels and bars (a long label never covers a neighbour), then the containers.
std::vector<Ctl> CreationOrder();

// The copy-progress window's controls, positioned in its client area.
struct ProgressControlDecl {
    ProgressCtl id;
    Kind kind;
    int x, y, w, h;
    const char* caption;
};
std::span<const ProgressControlDecl> ProgressControls();

// Progress bars of the main window are drawn in this colour.
constexpr unsigned kProgressPurple = 144u | (0u << 8) | (255u << 16);

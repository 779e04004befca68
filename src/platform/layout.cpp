#include "platform/layout.h"

#include <algorithm>
#include <array>
#include <ranges>
#include <utility>

namespace {

using enum Ctl;
constexpr Ctl W = kNoParent;

constexpr ControlDecl kMain[] = {
    {选择夹1, Kind::Tab, W, kNoPage, 2, 0, 498, 360, ""},
    // page 0 "文件复制"
    {分组框1, Kind::GroupBox, 选择夹1, 0, 5, 21, 485, 333, ""},
    {超级列表框, Kind::ListView, 分组框1, 0, 9, 14, 400, 165, ""},
    {按钮_添加文件, Kind::Button, 分组框1, 0, 418, 12, 58, 24, "添加文件"},
    {按钮_向上, Kind::Button, 分组框1, 0, 418, 42, 58, 24, "向上"},
    {按钮_向下, Kind::Button, 分组框1, 0, 418, 69, 58, 24, "向下"},
    {按钮_删除, Kind::Button, 分组框1, 0, 418, 96, 58, 24, "删除"},
    {按钮_全部删除, Kind::Button, 分组框1, 0, 418, 125, 58, 24, "全部删除"},
    {按钮_刷新2, Kind::Button, 分组框1, 0, 418, 152, 58, 24, "刷新"},
    {按钮_复制, Kind::Button, 分组框1, 0, 418, 180, 58, 24, "复制"},
    {按钮_取消, Kind::Button, 分组框1, 0, 418, 208, 58, 24, "取消"},
    {按钮_退出, Kind::Button, 分组框1, 0, 418, 293, 58, 24, "退出"},
    {标签_显示大小, Kind::Label, 分组框1, 0, 9, 186, 400, 19, "直接拖放文件到列表框"},
    {标签1, Kind::Label, 分组框1, 0, 11, 211, 70, 16, "复制根目录"},
    {目录框, Kind::ReadOnlyEdit, 分组框1, 0, 83, 209, 94, 20, "J:\\VIDEO"},
    {按钮_浏览, Kind::Button, 分组框1, 0, 182, 207, 43, 24, "浏览"},
    {选择框_成功后删除源文件, Kind::CheckBox, 分组框1, 0, 285, 211, 121, 18, "成功后删除源文件"},
    {分组框2, Kind::GroupBox, 分组框1, 0, 8, 237, 404, 89, ""},
    {标签2, Kind::Label, 分组框2, 0, 9, 11, 385, 13, "总进度"},  // wide enough for the rate and time left
    {进度条1, Kind::Progress, 分组框2, 0, 9, 25, 385, 19, ""},
    {标签3, Kind::Label, 分组框2, 0, 9, 47, 380, 13, "复制"},
    {进度条2, Kind::Progress, 分组框2, 0, 9, 61, 385, 19, ""},
    // page 1 "软件设置"
    {分组框3, Kind::GroupBox, 选择夹1, 1, 5, 22, 489, 330, ""},
    {标签6, Kind::Label, 分组框3, 1, 13, 16, 441, 16,
     "扩展名中间用分号分开！对于此项设置不清楚的，请不要修改！"},
    {选择框_规则, Kind::CheckBox, 分组框3, 1, 369, 15, 104, 16, "启用该规则"},
    {超级列表框_扩展名, Kind::ListView, 分组框3, 1, 10, 39, 471, 115, ""},
    {标签4, Kind::Label, 分组框3, 1, 11, 166, 37, 16, "扩展名"},
    {编辑框_扩展名, Kind::Edit, 分组框3, 1, 65, 164, 416, 20, ""},
    {标签5, Kind::Label, 分组框3, 1, 9, 197, 53, 16, "目标路径"},
    {编辑框_目标路径, Kind::Edit, 分组框3, 1, 65, 196, 136, 20, ""},
    {按钮_应用, Kind::Button, 分组框3, 1, 209, 193, 50, 24, "应用"},
    {按钮_刷新, Kind::Button, 分组框3, 1, 351, 193, 50, 24, "刷新"},
    {按钮_默认, Kind::Button, 分组框3, 1, 420, 193, 50, 24, "默认"},
    {分组框4, Kind::GroupBox, 分组框3, 1, 9, 222, 472, 67, ""},
    {选择框_校验, Kind::CheckBox, 分组框4, 1, 8, 15, 240, 18, "文件校验(如果大文件开启，速度会较慢)"},
    {选择框_迷你, Kind::CheckBox, 分组框4, 1, 9, 39, 80, 18, "迷你窗口"},
    {组合框_复制方法, Kind::DropList, 分组框4, 1, 256, 14, 160, 20, ""},
    {按钮_保存设置, Kind::Button, 分组框4, 1, 376, 35, 87, 24, "保存设置"},
    // below 分组框4, in line with its check boxes
    {选择框_发送到, Kind::CheckBox, 分组框3, 1, 17, 298, 200, 18, "添加到右键“发送到”菜单"},
    // page 2 "关于"
    {编辑框1, Kind::AboutEdit, 选择夹1, 2, 6, 26, 485, 292, ""},
    {按钮_返回, Kind::Button, 选择夹1, 2, 220, 327, 58, 24, "返回"},
};

constexpr ControlDecl kMini[] = {
    {图片框1, Kind::Picture, W, kNoPage, 0, 0, 48, 48, ""},
};

constexpr ColumnDecl kColumns[] = {
    {超级列表框, "待复制文件(支持拖放)", 200},
    {超级列表框, "文件大小(M)", 90},
    {超级列表框, "目标路径", 80},
    {超级列表框_扩展名, "待复制文件扩展名", 360},
    {超级列表框_扩展名, "目标路径", 90},
};

constexpr const char* kTabPages[] = {"文件复制", "软件设置", "关于"};
constexpr const char* kCopyMethods[] = {"复制方法1(机器较好使用)", "复制方法2(机器较差使用)"};

using M = MenuItem;
constexpr MenuDecl kMenus[] = {
    {M::托盘_显示窗口, Wnd::Main, "显示窗口", true},
    {M::托盘_关于, Wnd::Main, "关于", true},
    {M::托盘_退出, Wnd::Main, "退出", true},
    {M::迷你_添加文件, Wnd::Mini, "添加文件", true},
    {M::迷你_设置目标目录, Wnd::Mini, "设置目标目录", true},
    {M::Count, Wnd::Mini, nullptr, true},
    {M::迷你_复制文件, Wnd::Mini, "复制文件", true},
    {M::迷你_取消, Wnd::Mini, "取消", false},
    {M::Count, Wnd::Mini, nullptr, true},
    {M::迷你_显示主窗口, Wnd::Mini, "显示主窗口", true},
    {M::迷你_关于, Wnd::Mini, "关于", true},
    {M::迷你_退出, Wnd::Mini, "退出", true},
};

constexpr WindowDecl kWindows[] = {
    {Wnd::Main, 50, 50, 514, 388, "RuzoriZE3视频复制工具"},
    {Wnd::Mini, 50, 50, 214, 149, ""},
    {Wnd::Progress, 50, 50, 380, 101, ""},
};

constexpr ProgressControlDecl kProgress[] = {
    {ProgressCtl::标签1, Kind::Label, 8, 8, 360, 16, "标签"},
    {ProgressCtl::标签2, Kind::Label, 8, 28, 360, 16, "标签"},
    {ProgressCtl::进度条1, Kind::Progress, 8, 48, 360, 16, ""},
};

// Every control must be found by its id: the table lists each id once.
constexpr bool EveryControlDeclaredOnce() {
    std::array<int, kControlCount> seen{};
    for (const auto& c : kMain) ++seen[static_cast<int>(c.id)];
    for (const auto& c : kMini) ++seen[static_cast<int>(c.id)];
    for (int n : seen)
        if (n != 1) return false;
    return true;
}
static_assert(EveryControlDeclaredOnce());

}  // namespace

std::span<const ControlDecl> MainControls() { return kMain; }
std::span<const ControlDecl> MiniControls() { return kMini; }
std::span<const ColumnDecl> ListColumns() { return kColumns; }

int ColumnIndex(const ColumnDecl& col) {
    int index = 0;
    for (const auto& c : kColumns) {
        if (&c == &col) break;
        if (c.list == col.list) ++index;
    }
    return index;
}
std::span<const char* const> TabPages() { return kTabPages; }
std::span<const char* const> CopyMethodItems() { return kCopyMethods; }
std::span<const MenuDecl> Menus() { return kMenus; }
std::span<const ProgressControlDecl> ProgressControls() { return kProgress; }

const WindowDecl& WindowLayout(Wnd w) { return kWindows[static_cast<int>(w)]; }

const ControlDecl& FindControl(Ctl id) {
    for (const auto& c : kMain)
        if (c.id == id) return c;
    return kMini[0];  // the static_assert above leaves 图片框1 as the only other control
}

namespace {

bool TakesInput(Kind k) {
    return k != Kind::Label && k != Kind::Progress && k != Kind::Picture && k != Kind::Tab && k != Kind::GroupBox;
}

// Page by page, lines from the top and each line from the left. A control belongs to the
// line above when it starts within the upper half of that line's first control.
std::vector<Ctl> ReadingOrder() {
    struct Place {
        Ctl id;
        int page, line, x, y;
    };
    std::vector<Place> places;
    for (const auto& c : kMain)
        if (TakesInput(c.kind)) places.push_back({c.id, c.page, 0, ClientRect(c.id).x, ClientRect(c.id).y});
    std::ranges::stable_sort(places, {}, [](const Place& p) { return std::pair(p.page, p.y); });
    int line = 0, lineEnd = 0;
    for (std::size_t i = 0; i < places.size(); ++i) {
        Place& p = places[i];
        if (i == 0 || p.page != places[i - 1].page || p.y >= lineEnd) {
            ++line;
            lineEnd = p.y + ClientRect(p.id).h / 2;
        }
        p.line = line;
    }
    std::ranges::stable_sort(places, {}, [](const Place& p) { return std::pair(p.line, p.x); });
    std::vector<Ctl> order;
    for (const Place& p : places) order.push_back(p.id);
    return order;
}

}  // namespace

std::vector<Ctl> CreationOrder() {
    std::vector<Ctl> order = ReadingOrder();
    for (const auto& c : kMain)
        if (!TakesInput(c.kind) && c.kind != Kind::Tab && c.kind != Kind::GroupBox) order.push_back(c.id);
    // Innermost containers first, so each covers only what lies outside it.
    for (const auto& c : std::views::reverse(kMain))
        if (c.kind == Kind::Tab || c.kind == Kind::GroupBox) order.push_back(c.id);
    return order;
}

Rect ClientRect(Ctl id) {
    const ControlDecl& c = FindControl(id);
    Rect r{c.x, c.y, c.w, c.h};
    for (Ctl p = c.parent; p != kNoParent; p = FindControl(p).parent) {
        r.x += FindControl(p).x;
        r.y += FindControl(p).y;
    }
    return r;
}

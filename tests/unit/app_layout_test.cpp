#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "platform/about.h"
#include "platform/layout.h"

namespace {

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

TEST(Layout, NestedControlsAddTheirParentsOffsets) {
    // 进度条1 sits in 分组框2 (8,237) in 分组框1 (5,21) in 选择夹1 (2,0).
    Rect r = ClientRect(Ctl::进度条1);
    EXPECT_EQ(r.x, 2 + 5 + 8 + 9);
    EXPECT_EQ(r.y, 0 + 21 + 237 + 25);
    EXPECT_EQ(r.w, 385);
    r = ClientRect(Ctl::选择框_校验);
    EXPECT_EQ(r.x, 2 + 5 + 9 + 8);
    EXPECT_EQ(r.y, 0 + 22 + 222 + 15);
    EXPECT_EQ(ClientRect(Ctl::选择夹1).x, 2);
}

TEST(Layout, EveryControlFitsInsideItsParent) {
    for (const auto& c : MainControls()) {
        if (c.parent == kNoParent) continue;
        const ControlDecl& p = FindControl(c.parent);
        EXPECT_LE(c.x + c.w, p.w) << static_cast<int>(c.id);
        EXPECT_LE(c.y + c.h, p.h) << static_cast<int>(c.id);
        EXPECT_EQ(c.page, p.page == kNoPage ? c.page : p.page) << static_cast<int>(c.id);
    }
}

TEST(Layout, PagesMenusAndColumns) {
    ASSERT_EQ(TabPages().size(), 3u);
    EXPECT_STREQ(TabPages()[2], "关于");
    ASSERT_EQ(CopyMethodItems().size(), 2u);
    EXPECT_STREQ(CopyMethodItems()[1], "复制方法2(机器较差使用)");

    std::vector<std::string> mini;
    for (const auto& m : Menus())
        if (m.window == Wnd::Mini) mini.push_back(m.caption ? m.caption : "-");
    EXPECT_EQ(mini, (std::vector<std::string>{"添加文件", "设置目标目录", "-", "复制文件", "取消", "-",
                                              "显示主窗口", "关于", "退出"}));
    for (const auto& m : Menus())
        EXPECT_EQ(m.enabled, m.id != MenuItem::迷你_取消);

    int copyListWidth = 0;
    for (const auto& col : ListColumns())
        if (col.list == Ctl::超级列表框) copyListWidth += col.width;
    EXPECT_EQ(copyListWidth, 200 + 90 + 80);
    EXPECT_EQ(WindowLayout(Wnd::Main).w, 514);
    EXPECT_EQ(WindowLayout(Wnd::Main).h, 388);
}

// The z-order: inputs in reading order (the Tab order), then labels, then containers. So
// the hint label 标签6 lies under 启用该规则, which it overlaps.
TEST(Layout, InputsComeFirstInReadingOrderPageByPage) {
    using enum Ctl;
    const std::vector<Ctl> order = CreationOrder();
    const std::vector<Ctl> page1{选择框_规则, 超级列表框_扩展名, 编辑框_扩展名, 编辑框_目标路径, 按钮_应用, 按钮_刷新,
                                 按钮_默认, 选择框_校验, 组合框_复制方法, 选择框_迷你, 按钮_保存设置, 选择框_发送到};
    const auto at = [&order](Ctl c) { return std::ranges::find(order, c) - order.begin(); };
    EXPECT_TRUE(std::ranges::is_sorted(page1, {}, at));
    EXPECT_LT(at(选择框_发送到), at(标签6));
    EXPECT_LT(at(标签6), at(分组框3));
    EXPECT_EQ(order.back(), 选择夹1);
}

TEST(AboutText, FortyTwoLinesWithTheHistoryInPlace) {
    const auto lines = Split(AboutText());
    ASSERT_EQ(lines.size(), 42u);
    EXPECT_EQ(lines[0], std::string(16, ' ') + "RuzoriZE3视频复制工具");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[4], std::string(60, '='));
    EXPECT_EQ(lines[39], std::string(60, '='));
    EXPECT_EQ(lines[5], "0.4.4 2008.8.24");
    EXPECT_EQ(lines[9], "0.4版:     2008.8.22");
    EXPECT_EQ(lines[16], "7.修改 取消了关于窗口，用主界面的\"关于\"子夹来替代");
    EXPECT_EQ(lines[17], "8.修改 当浏览选择复制路径时，如果点取消 会返回\"\\\"的错误");
    EXPECT_EQ(lines[22], "13.取消 托盘显示设置   ");
    EXPECT_EQ(lines[29], "5.修改 进度条颜色为 #紫色 ");
    EXPECT_EQ(lines[40], std::string(44, ' ') + "程序编写: Kestrin ");
    EXPECT_EQ(lines[41].substr(0, 37), std::string(36, ' ') + "\xD3");  // "邮" begins the line
    for (int i : {2, 3}) EXPECT_EQ(lines[i].find_first_not_of(' '), 3u) << i;
    EXPECT_EQ(AboutText().substr(AboutText().size() - 2).find('\n'), std::string::npos);
    for (int i : {8, 23, 31, 36}) EXPECT_EQ(lines[i], "") << i;
}

#pragma once
// The real windows and controls, built from the layout tables.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "platform/ui.h"
#include "platform/win32/overwrite_win.h"

struct App;


HWND MiniPictureWindow();  // 图片框1, once the mini window exists (mini_win.cpp)

// A row of a list view. The list views hold no items of their own (LVS_OWNERDATA): they
// ask for the rows they draw, so filling or clearing 100,000 rows costs no more than the
// count.
struct ListRow {
    std::string cells[3];
    int image = 0;
    int mark = 0;
    std::int64_t bytes = kUnlistedBytes;
};

struct ListRows {
    std::vector<ListRow> rows;
    bool held = false;
    bool changed = false;  // a row changed while held
    std::wstring shown;  // the text handed over by the last LVN_GETDISPINFO
};

class WinUi : public Ui {
public:
    std::string text(Ctl) const override;
    void setText(Ctl, const std::string&) override;
    void setTextColor(Ctl, Rgb) override;
    void setTextLimit(Ctl, std::size_t bytes) override;
    Ctl focusedControl() const override;
    void setFocus(Ctl) override;
    bool checked(Ctl) const override;
    void setChecked(Ctl, bool) override;
    bool enabled(Ctl) const override;
    void setEnabled(Ctl, bool) override;
    int comboIndex(Ctl) const override;
    void setComboIndex(Ctl, int) override;
    void setProgressRange(Ctl, int min, int max) override;
    void setProgressPos(Ctl, int) override;
    int progressPos(Ctl) const override;
    void setProgressColor(Ctl, Rgb) override;
    int currentTab() const override;
    void selectTab(int page) override;

    int rowCount(Ctl) const override;
    int appendRow(Ctl, const std::string& col0, int image) override;
    void deleteRow(Ctl, int row) override;
    void deleteAllRows(Ctl) override;
    void deleteRows(Ctl, const std::vector<bool>& gone) override;
    std::string cell(Ctl, int row, int col) const override;
    void setCell(Ctl, int row, int col, const std::string&) override;
    int rowImage(Ctl, int row) const override;
    void setRowImage(Ctl, int row, int image) override;
    int rowMark(Ctl, int row) const override;
    void setRowMark(Ctl, int row, int mark) override;
    std::int64_t rowBytes(Ctl, int row) const override;
    void setRowBytes(Ctl, int row, std::int64_t bytes) override;
    int currentRow(Ctl) const override;
    void selectRow(Ctl, int row) override;
    void selectRowAhead(Ctl, int row) override;
    void holdRedraw(Ctl, bool hold) override;

    void loadWindow(Wnd) override;
    bool windowCreated(Wnd) const override;
    bool windowVisible(Wnd) const override;
    void showWindow(Wnd, bool visible) override;
    bool windowMinimized(Wnd) const override;
    void restoreWindow(Wnd) override;
    void bringToFront(Wnd) override;
    std::string title(Wnd) const override;
    void setTitle(Wnd, const std::string&) override;
    void destroyWindow(Wnd) override;
    void setMiniPicture(MiniPicture) override;
    void setProgressWindowText(ProgressCtl, const std::string&) override;
    void setProgressWindowPos(int) override;

    bool menuItemEnabled(MenuItem) const override;
    void setMenuItemEnabled(MenuItem, bool) override;
    void popUpMenu(Wnd) override;

    int messageBox(const std::string& text, const std::string& title, unsigned style) override;
    OverwriteAnswer askOverwrite(const std::string& text, const std::string& title, const std::string& details) override;
    void closeOverwriteQuestion() override { CloseOverwriteQuestion(); }
    void pumpEvents() override;

    // Creates the main window and every control; WM_CREATE runs the created handler.
    HWND createMainWindow(HINSTANCE);
    HWND window(Wnd w) const { return windows_[static_cast<int>(w)]; }
    // 图片框1 belongs to the mini window, which owns its handle from its own WM_CREATE on.
    HWND control(Ctl c) const { return c == Ctl::图片框1 ? MiniPictureWindow() : controls_[static_cast<int>(c)]; }
    HMENU menu(Wnd) const;
    // What a WM_CTLCOLORSTATIC for a label or check box should use.
    Rgb labelColor(Ctl c) const { return colors_[static_cast<int>(c)]; }
    HBRUSH pageBrush() const { return pageBrush_; }
    void showPage(int page);  // shows the controls of one tab page, hides the others
    void createControls(Wnd, HWND parent);
    // Positions, sizes and fonts of a window's controls for a DPI (96: the tables as they are).
    void layOut(Wnd, UINT dpi);
    // WM_DPICHANGED: to the rectangle Windows suggests, laid out again.
    void moveToDpi(Wnd, UINT dpi, const RECT& suggested);
    void forgetWindow(Wnd w) { windows_[static_cast<int>(w)] = nullptr; }
    // LVN_GETDISPINFO and LVN_ODFINDITEM of a list view (listview_win.cpp).
    void answerDisplay(Ctl, NMLVDISPINFOW&);
    int findRow(Ctl, const NMLVFINDITEMW&) const;
    // EN_CHANGE of an edit box with a limit: a change past it is taken back.
    void keepWithinLimit(Ctl);
    // WM_ACTIVATE of the main window: the focus is kept while another window (a dialog, a
    // message box) is active and given back after; true when it was given back.
    bool keepFocus(bool active);

private:
    HWND boxOwner() const;  // of a message box or the overwrite question
    ListRows& list(Ctl c) { return lists_[static_cast<int>(c)]; }
    const ListRows& list(Ctl c) const { return lists_[static_cast<int>(c)]; }
    const ListRow* row(Ctl, int row) const;
    void syncCount(Ctl);  // the list view's count to the rows held
    void redrawRow(Ctl, int row);

    std::array<HWND, 3> windows_{};
    std::array<HWND, kControlCount> controls_{};
    std::array<Rgb, kControlCount> colors_{};
    HMENU menus_[2] = {};  // main, mini
    HIMAGELIST images_ = nullptr;
    std::array<HFONT, 3> fonts_{};
    HBRUSH pageBrush_ = nullptr;
    HWND progressControls_[3] = {};
    DWORD mainThread_ = 0;
    std::array<std::size_t, kControlCount> textLimits_{};
    std::array<std::string, kControlCount> keptTexts_;  // the last text within the limit
    HWND keptFocus_ = nullptr;
    std::array<ListRows, kControlCount> lists_;
};

// The one program context and user interface of this process.
App& TheApp();
WinUi& TheUi();
void BindApp(App&, WinUi&);

// Runs the handler bound to a WM_COMMAND (a control click or a menu item).
void DispatchCommand(WPARAM wParam, LPARAM lParam);
// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp on the main window turn its pages, as
// in every property sheet; true when the key did.
bool TurnsPage(HWND main, const MSG&);

// The mini window lives in mini_win.cpp.
HWND CreateMiniWindow(HWND owner);
void SetMiniWindowPicture(MiniPicture);

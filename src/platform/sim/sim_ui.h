#pragma once
// The user interface as plain data, so handlers run and are checked on Linux.
#include <array>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui.h"

struct SimRow {
    std::vector<std::string> cells;
    int image = 0;
    int mark = 0;
    std::int64_t bytes = kUnlistedBytes;
};

struct SimControl {
    std::string text;
    Rgb color = 0;
    bool checked = false;
    bool enabled = true;
    int comboIndex = -1;
    int progressMin = 0, progressMax = 100, progressPos = 0;
    Rgb progressColor = 0;
    std::vector<SimRow> rows;
    int currentRow = -1;
    bool redrawHeld = false;
    std::size_t textLimit = 0;  // 0: none set
};

struct SimWindow {
    bool created = false;
    bool visible = false;
    bool minimized = false;
    std::string title;
    int frontCount = 0;  // how often it was brought to the front
};

struct SimMessageBox {
    std::string text, title;
    unsigned style = 0;
    std::string details;  // the overwrite question's
};

class SimUi : public Ui {
public:
    SimUi();  // controls and menus in their declared initial state; main window created

    std::string text(Ctl) const override;
    void setText(Ctl, const std::string&) override;
    void setTextColor(Ctl, Rgb) override;
    void setTextLimit(Ctl c, std::size_t bytes) override { control(c).textLimit = bytes; }
    Ctl focusedControl() const override { return focus; }
    void setFocus(Ctl c) override { focus = c; }
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
    int currentTab() const override { return tab; }
    void selectTab(int page) override { tab = page; }

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
    void holdRedraw(Ctl c, bool hold) override { control(c).redrawHeld = hold; }

    void loadWindow(Wnd) override;
    bool windowCreated(Wnd w) const override { return win(w).created; }
    bool windowVisible(Wnd w) const override { return win(w).visible; }
    void showWindow(Wnd, bool visible) override;
    bool windowMinimized(Wnd w) const override { return win(w).minimized; }
    void restoreWindow(Wnd w) override { win(w).minimized = false; }
    void bringToFront(Wnd w) override { ++win(w).frontCount; }
    std::string title(Wnd w) const override { return win(w).title; }
    void setTitle(Wnd w, const std::string& t) override { win(w).title = t; }
    void destroyWindow(Wnd) override;
    void setMiniPicture(MiniPicture p) override { miniPicture = p; }
    void setProgressWindowText(ProgressCtl c, const std::string& t) override {
        progressWindowText[static_cast<int>(c)] = t;
    }
    void setProgressWindowPos(int pos) override { progressWindowPos = pos; }

    bool menuItemEnabled(MenuItem) const override;
    void setMenuItemEnabled(MenuItem, bool) override;
    void popUpMenu(Wnd w) override { poppedUp.push_back(w); }

    int messageBox(const std::string& text, const std::string& title, unsigned style) override;
    // Recorded with the message boxes (style OkCancel | IconQuestion) and answered from
    // the same queue: IdOk overwrites, anything else skips; forRest from overwriteForRest.
    OverwriteAnswer askOverwrite(const std::string& text, const std::string& title,
                                 const std::string& details) override;
    void closeOverwriteQuestion() override { ++questionsClosed; }
    void pumpEvents() override;

    // Test access.
    SimControl& control(Ctl c) { return controls[static_cast<int>(c)]; }
    SimWindow& win(Wnd w) { return windows[static_cast<int>(w)]; }
    const SimWindow& win(Wnd w) const { return windows[static_cast<int>(w)]; }
    // A list view's rows as they stand, column 0 only.
    std::vector<std::string> column0(Ctl) const;

    int tab = 0;
    Ctl focus = Ctl::Count;  // a control loses it when it is disabled, as on Windows
    std::array<std::string, 2> progressWindowText;
    int progressWindowPos = 0;
    MiniPicture miniPicture = MiniPicture::Idle;
    std::vector<SimMessageBox> messageBoxes;
    std::deque<int> messageBoxAnswers;  // answers in order; mb::IdOk once they run out
    std::function<int(const SimMessageBox&)> answerFirst;  // a test's own answer; 0: the next in order
    std::deque<bool> overwriteForRest;  // the overwrite question's box, in order; clear once they run out
    std::vector<Wnd> poppedUp;
    int pumps = 0;
    std::function<void()> onPump;  // pending events a test wants to run at a pump
    std::function<void()> onQuestion;  // while the overwrite question is up, before its answer
    int questionsClosed = 0;
    std::function<void(Wnd)> onLoad;  // the window's created handler

private:
    const SimControl& control(Ctl c) const { return controls[static_cast<int>(c)]; }
    SimRow& row(Ctl, int r);
    const SimRow& row(Ctl, int r) const;

    std::array<SimControl, kControlCount> controls;
    std::array<SimWindow, 3> windows;
    std::array<bool, static_cast<int>(MenuItem::Count)> menuEnabled{};
};

#pragma once
// The windows and controls as the program's behaviour sees them. Every call runs on
// the main thread, except messageBox, which the copy worker may call for its one
// synchronous question.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ids.h"

using Rgb = std::uint32_t;  // 0x00BBGGRR, the Windows colour layout
constexpr Rgb MakeRgb(int r, int g, int b) { return Rgb(r) | (Rgb(g) << 8) | (Rgb(b) << 16); }

// Message box styles and answers, with their Windows values.
namespace mb {
constexpr unsigned Ok = 0x0, OkCancel = 0x1, YesNo = 0x4;
constexpr unsigned IconError = 0x10, IconQuestion = 0x20, IconWarning = 0x30, IconInfo = 0x40;
constexpr int IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7;
}  // namespace mb

enum class MiniPicture { Idle, Busy };

constexpr std::int64_t kUnlistedBytes = INT64_MIN;

// The answer to "overwrite the file on the player?": and whether it holds for the rest
// of the job's existing files.
struct OverwriteAnswer {
    bool overwrite = false;
    bool forRest = false;
};

class Ui {
public:
    virtual ~Ui() = default;

    // Captions, edit and label texts (GBK).
    virtual std::string text(Ctl) const = 0;
    virtual void setText(Ctl, const std::string&) = 0;
    virtual void setTextColor(Ctl, Rgb) = 0;

    // An edit box takes no text longer than this many GBK bytes from the user.
    virtual void setTextLimit(Ctl, std::size_t bytes) = 0;

    // The main window's control with the keyboard focus, Ctl::Count when none has it.
    virtual Ctl focusedControl() const = 0;
    virtual void setFocus(Ctl) = 0;

    virtual bool checked(Ctl) const = 0;
    virtual void setChecked(Ctl, bool) = 0;
    virtual bool enabled(Ctl) const = 0;
    virtual void setEnabled(Ctl, bool) = 0;

    virtual int comboIndex(Ctl) const = 0;  // -1 when no item is selected
    virtual void setComboIndex(Ctl, int) = 0;

    virtual void setProgressRange(Ctl, int min, int max) = 0;
    virtual void setProgressPos(Ctl, int) = 0;
    virtual int progressPos(Ctl) const = 0;
    virtual void setProgressColor(Ctl, Rgb) = 0;

    virtual int currentTab() const = 0;
    virtual void selectTab(int page) = 0;

    // Report-style list views: their rows are the data.
    virtual int rowCount(Ctl) const = 0;
    virtual int appendRow(Ctl, const std::string& col0, int image) = 0;  // returns the row
    virtual void deleteRow(Ctl, int row) = 0;
    virtual void deleteAllRows(Ctl) = 0;
    // Removes at once every row r whose gone[r] is set (gone may be shorter than the list);
    // the selection follows its row, or goes with it.
    virtual void deleteRows(Ctl, const std::vector<bool>& gone) = 0;
    virtual std::string cell(Ctl, int row, int col) const = 0;
    virtual void setCell(Ctl, int row, int col, const std::string&) = 0;
    virtual int rowImage(Ctl, int row) const = 0;
    virtual void setRowImage(Ctl, int row, int image) = 0;
    virtual int rowMark(Ctl, int row) const = 0;
    virtual void setRowMark(Ctl, int row, int mark) = 0;
    // The file's size in bytes when it was listed; kUnlistedBytes for a row never given one.
    virtual std::int64_t rowBytes(Ctl, int row) const = 0;
    virtual void setRowBytes(Ctl, int row, std::int64_t bytes) = 0;
    virtual int currentRow(Ctl) const = 0;  // -1 when none
    virtual void selectRow(Ctl, int row) = 0;
    // Selects the row a job works on: a row below the view may bring a page of rows with it.
    virtual void selectRowAhead(Ctl c, int row) { selectRow(c, row); }
    // While held, a list view takes rows without repainting; letting go repaints it once.
    virtual void holdRedraw(Ctl, bool hold) = 0;

    // Windows. loadWindow creates the mini window (owned by the main window) or the
    // copy-progress window; the main window exists before any handler runs.
    virtual void loadWindow(Wnd) = 0;
    virtual bool windowCreated(Wnd) const = 0;
    virtual bool windowVisible(Wnd) const = 0;
    virtual void showWindow(Wnd, bool visible) = 0;
    virtual bool windowMinimized(Wnd) const = 0;
    virtual void restoreWindow(Wnd) = 0;  // back to the normal state
    virtual void bringToFront(Wnd) = 0;
    virtual std::string title(Wnd) const = 0;
    virtual void setTitle(Wnd, const std::string&) = 0;
    virtual void destroyWindow(Wnd) = 0;
    virtual void setMiniPicture(MiniPicture) = 0;
    // The copy-progress window's own label texts and bar.
    virtual void setProgressWindowText(ProgressCtl, const std::string&) = 0;
    virtual void setProgressWindowPos(int) = 0;

    // Pop-up menus.
    virtual bool menuItemEnabled(MenuItem) const = 0;
    virtual void setMenuItemEnabled(MenuItem, bool) = 0;
    virtual void popUpMenu(Wnd) = 0;  // the window's menu, at the mouse position

    // A modal message box; returns the button pressed (mb::IdOk, mb::IdYes ...).
    virtual int messageBox(const std::string& text, const std::string& title, unsigned style) = 0;
    // The overwrite question, with the two files' size and date as details: buttons
    // 覆盖 and 跳过 (Esc and the close box skip) and a box to answer for the rest of the
    // job. Like messageBox, the copy worker may ask it.
    virtual OverwriteAnswer askOverwrite(const std::string& text, const std::string& title,
                                         const std::string& details) = 0;
    // Closes the overwrite question, if one is up, as 跳过 (Cancel or an exit meanwhile).
    virtual void closeOverwriteQuestion() = 0;

    // Let pending window events run (a no-op off the main thread).
    virtual void pumpEvents() = 0;
};

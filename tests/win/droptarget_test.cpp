// The real drop target on the real list view, driven by OLE's own drag loop.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"
#include "platform/win32/com_object.h"
#include "platform/win32/droptarget_win.h"
#include "platform/win32/win_shell.h"
#include "platform/win32/win_ui.h"
#include "text/escape.h"

namespace {

// A DROPFILES block holding the paths, as the shell puts on the clipboard.
template <class Char>
HGLOBAL FileList(const std::vector<std::basic_string<Char>>& paths) {
    std::basic_string<Char> names;
    for (const auto& p : paths) names += p + Char(0);
    names += Char(0);
    const SIZE_T bytes = sizeof(DROPFILES) + names.size() * sizeof(Char);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(h));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = sizeof(Char) == 2;
    std::memcpy(drop + 1, names.data(), names.size() * sizeof(Char));
    GlobalUnlock(h);
    return h;
}

HGLOBAL Text(const std::string& text) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(h), text.c_str(), text.size() + 1);
    GlobalUnlock(h);
    return h;
}

// Dragged data in one clipboard format.
class DataObject final : public ComObject<IDataObject> {
public:
    DataObject(CLIPFORMAT format, HGLOBAL data) : format_(format), data_(data) {}
    ~DataObject() override { GlobalFree(data_); }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
        if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = OleDuplicateData(data_, format_, 0);
        m->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
        return f->cfFormat == format_ && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    CLIPFORMAT format_;
    HGLOBAL data_;
};

// Lets go of the mouse at once, wherever the cursor is.
class DropAtOnce final : public ComObject<IDropSource> {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override { return DRAGDROP_S_DROP; }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// One real main window for the whole suite: showing and destroying windows is slow under Wine.
class DropTargetTest : public ::testing::Test {
protected:
    struct Program {
        SimPlatform sim;
        WinUi ui;
        WinShell shell;
        App app{ui, sim.fs, sim.ini, sim.sys, sim.shell};
        HWND main = nullptr;
    };

    static void SetUpTestSuite() {
        OleInitialize(nullptr);
        program = new Program;
        BindApp(program->app, program->ui);
        program->main = program->ui.createMainWindow(GetModuleHandleA(nullptr));
        ShowWindow(program->main, SW_SHOW);
        program->shell.app = &program->app;
    }
    static void TearDownTestSuite() {
        program->app.exitRequested = 1;
        DestroyWindow(program->main);
        MSG m;  // the destroyed window asked to end the loop; this test has none
        while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        delete program;
        OleUninitialize();
    }

    void SetUp() override {
        ASSERT_TRUE(main);
        ui.deleteAllRows(kList);
        ui.deleteAllRows(Ctl::超级列表框_扩展名);
        const char* rules[][2] = {{"*.avi;*.mp4", "\\Video"}, {"*.mp3;*.wma", "\\music"}, {"*.txt", "\\txt"}};
        for (const auto& r : rules)
            ui.setCell(Ctl::超级列表框_扩展名, ui.appendRow(Ctl::超级列表框_扩展名, r[0], 0), 1, r[1]);
        ui.setChecked(Ctl::选择框_规则, true);
        ui.setText(Ctl::目录框, "J:\\");
        sim.fs.addDrive('J', 8LL << 30, 4LL << 30);
        sim.fs.addFile("J:\\歌.wma", std::string(1572864, 'x'));
        sim.fs.addFile("J:\\drop\\b.mp3", "");
        sim.fs.addFile("J:\\drop\\a.txt", std::string(1000, 'x'));
        sim.sys.posted.clear();
    }
    void TearDown() override { shell.revokeDropTarget(kList); }

    // Drags data onto the middle of a control and drops it there; returns the effect.
    DWORD DragOnto(Ctl c, IDataObject* data) {
        RECT r;
        GetWindowRect(ui.control(c), &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        auto* source = new DropAtOnce;
        DWORD effect = DROPEFFECT_NONE;
        DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
        source->Release();
        data->Release();
        return effect;
    }
    std::string Row(int r) {
        return ui.cell(kList, r, 0) + "|" + ui.cell(kList, r, 1) + "|" + ui.cell(kList, r, 2) + "|" +
               std::to_string(ui.rowImage(kList, r));
    }

    static constexpr Ctl kList = Ctl::超级列表框;
    static inline Program* program = nullptr;
    SimPlatform& sim = program->sim;
    WinUi& ui = program->ui;
    WinShell& shell = program->shell;
    HWND main = program->main;
};

}  // namespace

TEST_F(DropTargetTest, DroppedFilesBecomeRowsOnceTheDropHasReturned) {
    shell.registerDropTarget(kList);
    const std::vector<std::string> paths{"J:\\歌.wma", "J:\\drop", "J:\\gone.avi"};
    EXPECT_EQ(DragOnto(kList, new DataObject(CF_HDROP, FileList(paths))), DWORD{DROPEFFECT_COPY});
    EXPECT_EQ(ui.rowCount(kList), 0);  // the drag source is not held while the list fills
    ASSERT_EQ(sim.sys.posted.size(), 1u);
    sim.sys.runPosted();
    ASSERT_EQ(ui.rowCount(kList), 4);
    EXPECT_EQ(Row(0), "J:\\歌.wma|1.5|\\music|2");
    EXPECT_EQ(Row(1), "J:\\drop\\a.txt|0.001|\\txt|3");
    EXPECT_EQ(Row(2), "J:\\drop\\b.mp3|0|\\music|2");
    EXPECT_EQ(Row(3), "J:\\gone.avi|-1|\\Video|1");
    EXPECT_EQ(ui.text(Ctl::标签_显示大小), "文件总大小:1.501 M   目标磁盘剩余:4096 M") << "a missing file counts 0";
}

TEST_F(DropTargetTest, WideNamesFromTheShellArriveAsGbkWithEscapes) {
    const std::string emoji = "J:\\" + EscapeCodePoint(0x1F602) + "搞笑.mp4";
    sim.fs.addFile(emoji, std::string(1048576, 'x'));
    shell.registerDropTarget(kList);
    const std::vector<std::wstring> paths{L"J:\\歌.wma", L"J:\\\xD83D\xDE02搞笑.mp4"};
    EXPECT_EQ(DragOnto(kList, new DataObject(CF_HDROP, FileList(paths))), DWORD{DROPEFFECT_COPY});
    sim.sys.runPosted();
    ASSERT_EQ(ui.rowCount(kList), 2);
    EXPECT_EQ(Row(0), "J:\\歌.wma|1.5|\\music|2");
    EXPECT_EQ(Row(1), emoji + "|1|\\Video|1");
    wchar_t shown[64] = {};
    LVITEMW cell{};
    cell.pszText = shown;
    cell.cchTextMax = 64;
    SendMessageW(ui.control(kList), LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&cell));
    EXPECT_STREQ(shown, L"J:\\\xD83D\xDE02搞笑.mp4");
}

TEST_F(DropTargetTest, OnlyFilesOnTheListAreTaken) {
    shell.registerDropTarget(kList);
    EXPECT_EQ(DragOnto(kList, new DataObject(CF_TEXT, Text("J:\\歌.wma"))), DWORD{DROPEFFECT_NONE});
    const std::vector<std::string> paths{"J:\\歌.wma"};
    EXPECT_EQ(DragOnto(Ctl::按钮_复制, new DataObject(CF_HDROP, FileList(paths))), DWORD{DROPEFFECT_NONE});
    EXPECT_TRUE(sim.sys.posted.empty());
}

TEST_F(DropTargetTest, HeldListTakesRowsWithoutPaintingUntilLetGo) {
    const HWND list = ui.control(kList);
    UpdateWindow(list);
    ui.holdRedraw(kList, true);
    ui.appendRow(kList, "J:\\a.mp3", 2);
    EXPECT_FALSE(GetUpdateRect(list, nullptr, FALSE));
    ui.holdRedraw(kList, false);
    EXPECT_TRUE(GetUpdateRect(list, nullptr, FALSE));
    UpdateWindow(list);
    ui.appendRow(kList, "J:\\b.mp3", 2);
    EXPECT_TRUE(GetUpdateRect(list, nullptr, FALSE));
    EXPECT_EQ(ui.rowCount(kList), 2);
}

TEST_F(DropTargetTest, RevokeEndsTheRegistrationAndMayBeRepeated) {
    const HWND list = ui.control(kList);
    IDropTarget* other = NewFileDropTarget([](const std::string&) {});
    shell.registerDropTarget(kList);
    shell.registerDropTarget(kList);  // once is enough; a second call replaces the first
    EXPECT_EQ(RegisterDragDrop(list, other), DRAGDROP_E_ALREADYREGISTERED);
    shell.revokeDropTarget(kList);
    shell.revokeDropTarget(kList);
    EXPECT_EQ(RevokeDragDrop(list), DRAGDROP_E_NOTREGISTERED);
    EXPECT_EQ(RegisterDragDrop(list, other), S_OK);
    EXPECT_EQ(RevokeDragDrop(list), S_OK);
    other->Release();
}

TEST(FileDropTarget, TakesOnlyFilesAndNeverAsksTheSourceToMove) {
    std::vector<std::string> got;
    IDropTarget* target = NewFileDropTarget([&got](const std::string& paths) { got.push_back(paths); });
    const std::vector<std::string> paths{"C:\\a.mp3", "D:\\b c\\歌.txt"};
    auto* text = new DataObject(CF_TEXT, Text("C:\\a.mp3"));
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->DragEnter(text, MK_LBUTTON, {0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
    text->Release();
    auto* data = new DataObject(CF_HDROP, FileList(paths));
    effect = DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragEnter(data, MK_LBUTTON, {0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
    effect = DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target->DragOver(MK_LBUTTON, {0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD{DROPEFFECT_LINK});
    effect = DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target->Drop(data, 0, {0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD{DROPEFFECT_LINK});
    EXPECT_EQ(got, (std::vector<std::string>{"C:\\a.mp3\r\nD:\\b c\\歌.txt"}));
    data->Release();
    target->Release();
}

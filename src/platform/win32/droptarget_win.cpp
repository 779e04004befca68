#include "platform/win32/droptarget_win.h"

#include <shellapi.h>

#include <optional>

#include "app/app.h"
#include "app/events.h"
#include "platform/win32/com_object.h"
#include "platform/win32/win_shell.h"
#include "platform/win32/win_ui.h"
#include "platform/win32/wide_text.h"

namespace {

FORMATETC FileDropFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool HasFiles(IDataObject* data) {
    FORMATETC format = FileDropFormat();
    return data && data->QueryGetData(&format) == S_OK;
}

std::optional<std::string> DroppedPaths(IDataObject* data) {
    FORMATETC format = FileDropFormat();
    STGMEDIUM medium{};
    if (!data || data->GetData(&format, &medium) != S_OK) return std::nullopt;
    const auto drop = static_cast<HDROP>(medium.hGlobal);
    std::string paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
        DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
        paths += (i ? "\r\n" : "") + Narrow(path);
    }
    ReleaseStgMedium(&medium);
    return paths;
}

// Never a move: the source would delete what it believes was moved.
DWORD AcceptedEffect(bool files, DWORD allowed) {
    if (!files) return DROPEFFECT_NONE;
    if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
    return allowed & DROPEFFECT_LINK;
}

class FileDropTarget final : public ComObject<IDropTarget> {
public:
    explicit FileDropTarget(DropHandler onDrop) : onDrop_(std::move(onDrop)) {}

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        files_ = HasFiles(data);
        *effect = AcceptedEffect(files_, *effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = AcceptedEffect(files_, *effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        files_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        files_ = false;
        const auto paths = DroppedPaths(data);
        *effect = AcceptedEffect(paths.has_value(), *effect);
        if (paths && *effect != DROPEFFECT_NONE) onDrop_(*paths);
        return S_OK;
    }

private:
    bool files_ = false;
    DropHandler onDrop_;
};

}  // namespace

IDropTarget* NewFileDropTarget(DropHandler onDrop) { return new FileDropTarget(std::move(onDrop)); }

void WinShell::registerDropTarget(Ctl c) {
    revokeDropTarget(c);  // a re-created window replaces the old registration
    const HWND window = TheUi().control(c);
    App* target = app;
    IDropTarget* dropTarget = NewFileDropTarget([target](const std::string& paths) {
        // Handled after Drop returns, so the drag source is not held while folders are read.
        target->sys.post([target, paths] { OnFilesDropped(*target, paths); });
    });
    if (target && RegisterDragDrop(window, dropTarget) == S_OK) dropTargets_[c] = {window, dropTarget};
    else dropTarget->Release();
}

void WinShell::revokeDropTarget(Ctl c) {
    const auto it = dropTargets_.find(c);
    if (it == dropTargets_.end()) return;
    RevokeDragDrop(it->second.window);
    it->second.target->Release();
    dropTargets_.erase(it);
}

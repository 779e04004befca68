#include "platform/win32/filedialog_win.h"

#include <windows.h>
#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <optional>

#include "platform/win32/win_shell.h"
#include "platform/win32/win_ui.h"
#include "platform/win32/wide_text.h"
#include "text/gbk.h"

namespace {

// Room for thousands of names at the first try.
constexpr std::size_t kFirstBufferChars = 1 << 19;

// "a|b|c|d" as the dialog takes it: NUL between the parts and two at the end. A "|"
// that is the trail byte of a GBK character stays.
std::string DialogFilter(const std::string& filter) {
    std::string out;
    for (std::size_t i = 0; i < filter.size(); i += GbkCharSize(filter, i)) {
        if (filter[i] == '|') out += '\0';
        else out.append(filter, i, GbkCharSize(filter, i));
    }
    return out + '\0';  // c_str() adds the second
}

// The buffer (zero-filled before the dialog) holds one full path, or the folder and then
// each name, every text closed by a NUL and the list by an empty name. Nothing when the
// list runs to the end of the buffer: it was cut short there.
std::optional<std::vector<std::string>> ChosenPaths(const std::wstring& buffer) {
    const std::size_t end = buffer.find(L'\0');
    if (end == std::wstring::npos) return std::nullopt;
    const std::wstring first = buffer.substr(0, end);
    if (end + 1 < buffer.size() && buffer[end + 1] == L'\0') return std::vector{Narrow(first)};
    const std::wstring folder = first.ends_with(L'\\') ? first : first + L'\\';
    std::vector<std::string> paths;
    for (std::size_t at = end + 1;;) {
        const std::size_t stop = buffer.find(L'\0', at);
        if (stop == std::wstring::npos) return std::nullopt;
        if (stop == at) return paths;
        paths.push_back(Narrow(folder + buffer.substr(at, stop - at)));
        at = stop + 1;
    }
}

}  // namespace

std::vector<std::string> ChooseFilesWithBuffer(const std::string& title, const std::string& filter,
                                               std::size_t firstBufferChars) {
    const std::wstring filterText = Wide(DialogFilter(filter));
    const std::wstring wideTitle = Wide(title);
    for (std::size_t size = std::max<std::size_t>(firstBufferChars, MAX_PATH);; size *= 2) {
        std::wstring buffer(size, L'\0');
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = TheUi().window(Wnd::Main);
        ofn.lpstrFilter = filterText.c_str();
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = buffer.data();
        ofn.nMaxFile = static_cast<DWORD>(buffer.size());
        ofn.lpstrTitle = wideTitle.c_str();
        // The process keeps no hold on the folder chosen (a player in it could not be ejected).
        ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (GetOpenFileNameW(&ofn)) {
            // Some dialogs fill the buffer to its end instead of reporting it too small.
            if (auto paths = ChosenPaths(buffer)) return *paths;
        } else if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) {
            return {};
        }
    }
}

std::vector<std::string> WinShell::chooseFiles(const std::string& title, const std::string& filter) {
    return ChooseFilesWithBuffer(title, filter, kFirstBufferChars);
}

#include "platform/win32/filedialog_win.h"

#include <windows.h>
#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <optional>

#include "platform/win32/win_shell.h"
#include "platform/win32/win_ui.h"
#include "text/gbk.h"

namespace {

// Room for thousands of names at the first try.
constexpr std::size_t kFirstBufferBytes = 1 << 20;

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
std::optional<std::vector<std::string>> ChosenPaths(const std::string& buffer) {
    const std::size_t end = buffer.find('\0');
    if (end == std::string::npos) return std::nullopt;
    const std::string first = buffer.substr(0, end);
    if (end + 1 < buffer.size() && buffer[end + 1] == '\0') return std::vector{first};
    const std::string folder = EndsWithGbk(first, '\\') ? first : first + '\\';
    std::vector<std::string> paths;
    for (std::size_t at = end + 1;;) {
        const std::size_t stop = buffer.find('\0', at);
        if (stop == std::string::npos) return std::nullopt;
        if (stop == at) return paths;
        paths.push_back(folder + buffer.substr(at, stop - at));
        at = stop + 1;
    }
}

}  // namespace

std::vector<std::string> ChooseFilesWithBuffer(const std::string& title, const std::string& filter,
                                               std::size_t firstBufferBytes) {
    const std::string filterText = DialogFilter(filter);
    for (std::size_t size = std::max<std::size_t>(firstBufferBytes, MAX_PATH);; size *= 2) {
        std::string buffer(size, '\0');
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = TheUi().window(Wnd::Main);
        ofn.lpstrFilter = filterText.c_str();
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = buffer.data();
        ofn.nMaxFile = static_cast<DWORD>(buffer.size());
        ofn.lpstrTitle = title.c_str();
        ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
        if (GetOpenFileNameA(&ofn)) {
            // Some dialogs fill the buffer to its end instead of reporting it too small.
            if (auto paths = ChosenPaths(buffer)) return *paths;
        } else if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) {
            return {};
        }
    }
}

std::vector<std::string> WinShell::chooseFiles(const std::string& title, const std::string& filter) {
    return ChooseFilesWithBuffer(title, filter, kFirstBufferBytes);
}

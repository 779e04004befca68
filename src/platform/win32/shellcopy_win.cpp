#include "platform/win32/win_shell.h"

#include <shellapi.h>

#include "platform/win32/wide_text.h"

bool WinShell::shellCopyFile(const std::string& source, const std::string& dest) {
    // The shell takes lists: each name ends in a zero, the list in a second one.
    const std::wstring from = Wide(source) + std::wstring(2, L'\0');
    const std::wstring to = Wide(dest) + std::wstring(2, L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_SILENT;
    return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

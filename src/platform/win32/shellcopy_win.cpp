#include "platform/win32/win_shell.h"

#include <shellapi.h>

bool WinShell::shellCopyFile(const std::string& source, const std::string& dest) {
    // The shell takes lists: each name ends in a zero, the list in a second one.
    const std::string from = source + std::string(2, '\0');
    const std::string to = dest + std::string(2, '\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_SILENT;
    return SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
}

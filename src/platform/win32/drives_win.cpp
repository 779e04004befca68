// The removable drives, and the main window's notice that a volume came or went.
#include "platform/win32/drives_win.h"

#include <dbt.h>

#include "app/events.h"
#include "platform/win32/files_win.h"

// A removable drive counts only with a volume in it: an empty card-reader slot is no player.
std::string WinFileSystem::removableDrives() {
    const DWORD mask = GetLogicalDrives();
    DWORD oldMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &oldMode);  // no "insert a disk" box
    std::string letters;
    for (int i = 0; i < 26; ++i) {
        const char letter = static_cast<char>('A' + i);
        const char root[] = {letter, ':', '\\', '\0'};
        if ((mask & (1u << i)) && GetDriveTypeA(root) == DRIVE_REMOVABLE && driveTotalBytes(letter) >= 0)
            letters += letter;
    }
    SetThreadErrorMode(oldMode, nullptr);
    return letters;
}

// The notice is sent, and the sender waits: the question comes after it has returned.
void OnDeviceChange(App& app, WPARAM event, LPARAM data) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    const bool volume = header && header->dbch_devicetype == DBT_DEVTYP_VOLUME;
    if (volume && (event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE))
        app.sys.post([&app] { RunEvent(app, Event::DrivesChanged); });
}

// Verbs about drive letters: what Windows reports of one, and plugging a Unix folder in
// as one through Wine's mount manager (the request winecfg sends).
#include "driver.h"

#include <winioctl.h>

namespace drive {

namespace {

// Wine's IOCTL_MOUNTMGR_DEFINE_UNIX_DRIVE and its input, followed by the Unix paths.
constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6d, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
struct UnixDrive {
    ULONG size, type, fsType;
    DWORD serial;
    ULONGLONG unixDev;
    WCHAR letter;
    USHORT mountPointOffset, deviceOffset, labelOffset;
};

int volume(const Args& a) {
    const std::wstring root = a[0].substr(0, 1) + L":\\";
    wchar_t fs[MAX_PATH + 1] = {};
    ULARGE_INTEGER free, total;
    if (!GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, fs, MAX_PATH + 1) ||
        !GetDiskFreeSpaceExW(root.c_str(), &free, &total, nullptr))
        fail(L"no volume at " + root + L" (error " + std::to_wstring(GetLastError()) + L")");
    out(std::wstring(fs) + L" " + std::to_wstring(total.QuadPart) + L" " + std::to_wstring(free.QuadPart));
    return 0;
}

// The mount manager reads the device when the drive is defined: a FAT boot sector there
// makes the drive FAT32. Without a mount point the letter is removed.
int defineDrive(const Args& a) {
    const std::string mount = a.size() > 1 ? toUtf8(a[1]) : "", device = a.size() > 2 ? toUtf8(a[2]) : "";
    std::vector<char> request(sizeof(UnixDrive) + mount.size() + device.size() + 2, '\0');
    auto* d = reinterpret_cast<UnixDrive*>(request.data());
    d->size = static_cast<ULONG>(request.size());
    d->letter = a[0][0];
    d->type = mount.empty() ? DRIVE_NO_ROOT_DIR : DRIVE_REMOVABLE;
    if (!mount.empty()) {
        d->mountPointOffset = sizeof(UnixDrive);
        mount.copy(request.data() + d->mountPointOffset, mount.size());
    }
    if (!device.empty()) {
        d->deviceOffset = static_cast<USHORT>(sizeof(UnixDrive) + mount.size() + 1);
        device.copy(request.data() + d->deviceOffset, device.size());
    }
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) fail(L"no mount manager");
    DWORD got = 0;
    const bool done = DeviceIoControl(manager, kDefineUnixDrive, request.data(), d->size, nullptr, 0, &got, nullptr);
    CloseHandle(manager);
    if (!done) fail(L"the mount manager refused " + a[0] + L" (error " + std::to_wstring(GetLastError()) + L")");
    return 0;
}

}  // namespace

std::vector<Verb> driveVerbs() {
    return {
        {L"volume", L"<letter>  file system name, total and free bytes of the drive", 1, volume},
        {L"define-drive", L"<letter> [unix-folder [unix-device]]  a removable drive there; none: remove it", 1,
         defineDrive},
    };
}

}  // namespace drive

#include "platform/win32/files_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/win32/wide_text.h"
#include "text/gbk.h"

namespace {

// Uncached reads need sector-aligned buffers, lengths and offsets. Whole blocks of a
// multiple of 64 KiB, in a page-aligned buffer, suit every sector size up to that.
constexpr DWORD kUncachedUnit = 1 << 16;
constexpr DWORD kUncachedBlock = 1 << 20;

// Aligned blocks kept from file to file: a fresh one would cost page faults on every file
// read back. As many are kept as were ever open at once; they last as long as the process.
class BlockPool {
public:
    char* take() {
        std::lock_guard lock(mutex_);
        if (free_.empty())
            return static_cast<char*>(VirtualAlloc(nullptr, kUncachedBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        char* block = free_.back();
        free_.pop_back();
        return block;
    }
    void give(char* block) {
        std::lock_guard lock(mutex_);
        free_.push_back(block);
    }

private:
    std::mutex mutex_;
    std::vector<char*> free_;
};

BlockPool& Blocks() {
    static BlockPool pool;
    return pool;
}

std::int64_t FromFileTime(FILETIME t) { return static_cast<std::int64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime; }

// The volume's serial number and the file's index name the file whatever the path.
FileInfo IdentityOf(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION about;
    if (!GetFileInformationByHandle(h, &about) || (about.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
    char id[40];
    std::snprintf(id, sizeof id, "%08lx-%08lx%08lx", about.dwVolumeSerialNumber, about.nFileIndexHigh,
                  about.nFileIndexLow);
    return {static_cast<std::int64_t>(about.nFileSizeHigh) << 32 | about.nFileSizeLow, FromFileTime(about.ftLastWriteTime),
            id, about.dwFileAttributes};
}

// Size, last-write time and attributes, from the handle alone.
FileInfo DetailsOf(HANDLE h) {
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    if (!GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic) ||
        !GetFileInformationByHandleEx(h, FileStandardInfo, &standard, sizeof standard) || standard.Directory)
        return {};
    return {standard.EndOfFile.QuadPart, basic.LastWriteTime.QuadPart, "", basic.FileAttributes};
}

// A copy in the making is hidden, and marked as a system file so that one an unplugged
// player kept is known for the program's own next time.
constexpr DWORD kUnfinishedAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

class WinFile : public File {
public:
    WinFile(HANDLE h, bool uncached) : h_(h), uncached_(uncached) {
        if (!uncached_) return;
        // A small file gets a small block: the whole block is locked in memory for each read.
        const std::int64_t units = (std::max<std::int64_t>(size(), 1) + kUncachedUnit - 1) / kUncachedUnit;
        blockSize_ = static_cast<DWORD>(std::min<std::int64_t>(kUncachedBlock, units * kUncachedUnit));
        block_ = Blocks().take();
    }
    ~WinFile() override {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
        if (block_) Blocks().give(block_);
    }
    bool ready() const { return !uncached_ || block_; }
    std::int64_t size() override {
        LARGE_INTEGER n;
        return GetFileSizeEx(h_, &n) ? n.QuadPart : -1;
    }
    std::int64_t read(void* buf, std::size_t len) override {
        if (uncached_) return readBlocks(static_cast<char*>(buf), len);
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(len, 1u << 30));
        if (!ReadFile(h_, buf, want, &got, nullptr)) return -1;
        return got;
    }
    bool write(const void* buf, std::size_t len) override {
        const char* p = static_cast<const char*>(buf);
        while (len > 0) {
            DWORD put = 0;
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(len, 1u << 30));
            if (!WriteFile(h_, p, want, &put, nullptr) || put == 0) return false;
            p += put;
            len -= put;
        }
        return true;
    }
    bool flush() override { return FlushFileBuffers(h_) != 0; }
    FileInfo info() override { return DetailsOf(h_); }
    std::string identity() override { return IdentityOf(h_).identity; }
    bool setDetails(bool hidden, std::int64_t writeTime) override {
        // On the handle: cheaper than a second open of the file by its name. Zero times stay.
        FILE_BASIC_INFO details = {};
        details.LastWriteTime.QuadPart = std::max<std::int64_t>(writeTime, 0);
        details.FileAttributes = hidden ? kUnfinishedAttributes : FILE_ATTRIBUTE_NORMAL;
        return SetFileInformationByHandle(h_, FileBasicInfo, &details, sizeof details) != 0;
    }
    bool close() override {
        const bool ok = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    // Serves reads of any size from whole aligned blocks; a short block is the end.
    std::int64_t readBlocks(char* buf, std::size_t len) {
        if (pos_ == filled_ && !atEnd_) {
            DWORD got = 0;
            if (!ReadFile(h_, block_, blockSize_, &got, nullptr)) return -1;
            pos_ = 0;
            filled_ = got;
            atEnd_ = got < blockSize_;
        }
        const std::size_t n = std::min<std::size_t>(len, filled_ - pos_);
        std::memcpy(buf, block_ + pos_, n);
        pos_ += n;
        return static_cast<std::int64_t>(n);
    }

    HANDLE h_;
    bool uncached_;
    char* block_ = nullptr;
    DWORD blockSize_ = 0, pos_ = 0, filled_ = 0;
    bool atEnd_ = false;
};

std::unique_ptr<File> Wrap(HANDLE h, bool uncached = false) {
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    auto file = std::make_unique<WinFile>(h, uncached);
    if (!file->ready()) return nullptr;
    return file;
}

std::wstring DriveRoot(char letter) { return {static_cast<wchar_t>(letter), L':', L'\\'}; }

}  // namespace

std::int64_t WinFileSystem::fileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return -1;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool WinFileSystem::exists(const std::string& path) {
    if (GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_INVALID_NAME &&
           error != ERROR_INVALID_DRIVE && error != ERROR_NOT_READY && error != ERROR_BAD_NETPATH;
}

bool WinFileSystem::isFolder(const std::string& path) {
    const std::wstring name = WidePath(path);
    if (name.find_first_of(L"*?") != std::wstring::npos) return false;  // a pattern is not a name
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(name.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return false;
    FindClose(h);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::int64_t WinFileSystem::driveTotalBytes(char letter) {
    ULARGE_INTEGER total;
    if (!GetDiskFreeSpaceExW(DriveRoot(letter).c_str(), nullptr, &total, nullptr)) return -1;
    return static_cast<std::int64_t>(total.QuadPart);
}

std::int64_t WinFileSystem::driveFreeKb(char letter) {
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExW(DriveRoot(letter).c_str(), &available, nullptr, nullptr)) return -1;
    return static_cast<std::int64_t>(available.QuadPart / 1024);
}

DriveSpace WinFileSystem::driveSpace(char letter) {
    // The bytes this user may still write (quotas included), and the cluster size.
    DriveSpace space;
    ULARGE_INTEGER available;
    if (GetDiskFreeSpaceExW(DriveRoot(letter).c_str(), &available, nullptr, nullptr))
        space.freeBytes = static_cast<std::int64_t>(available.QuadPart);
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (GetDiskFreeSpaceW(DriveRoot(letter).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        space.clusterBytes = static_cast<std::int64_t>(sectorsPerCluster) * bytesPerSector;
    return space;
}

std::vector<DirEntry> WinFileSystem::listFolder(const std::string& folder) {
    std::vector<DirEntry> out;
    const std::string pattern = WithFinalSeparator(folder) + "*";
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(WidePath(pattern).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        const std::string name = Narrow(found.cFileName);
        if (name == "." || name == "..") continue;
        out.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       static_cast<std::int64_t>((std::uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow),
                       FromFileTime(found.ftLastWriteTime), found.dwFileAttributes});
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return out;
}

std::unique_ptr<File> WinFileSystem::openRead(const std::string& path, ReadMode mode) {
    const bool uncached = mode == ReadMode::Uncached;
    const DWORD flags = FILE_FLAG_SEQUENTIAL_SCAN | (uncached ? FILE_FLAG_NO_BUFFERING : 0);
    // A copy is read back while its writer still holds it (hidden until checked).
    const DWORD share = FILE_SHARE_READ | (uncached ? FILE_SHARE_WRITE : 0);
    return Wrap(CreateFileW(WidePath(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, flags, nullptr), uncached);
}

std::unique_ptr<File> WinFileSystem::openWrite(const std::string& path, WriteMode mode) {
    // A hidden temporary is created in one call (an old hidden one is replaced). A visible
    // file is opened and then cut to zero, which also empties hidden and system files that
    // CREATE_ALWAYS with other attributes refuses.
    const bool hidden = mode == WriteMode::Hidden;
    HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, hidden ? CREATE_ALWAYS : OPEN_ALWAYS,
                           hidden ? kUnfinishedAttributes : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE && !hidden && !SetEndOfFile(h)) {
        CloseHandle(h);
        return nullptr;
    }
    return Wrap(h);
}

std::unique_ptr<File> WinFileSystem::createNew(const std::string& path, bool& exists) {
    HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                           kUnfinishedAttributes, nullptr);
    const DWORD error = GetLastError();
    exists = h == INVALID_HANDLE_VALUE && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
    return Wrap(h);
}

FileInfo WinFileSystem::fileInfo(const std::string& path) {
    HANDLE h = CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    FileInfo info = IdentityOf(h);
    CloseHandle(h);
    return info;
}

std::string WinFileSystem::nameKey(const std::string& path) {
    // NTFS and FAT compare names by the invariant upper case of each UTF-16 unit.
    std::wstring name = Wide(path);
    if (!name.empty())
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.data(), static_cast<int>(name.size()), name.data(),
                      static_cast<int>(name.size()), nullptr, nullptr, 0);
    return Narrow(name);
}

bool WinFileSystem::createNewFile(const std::string& path, const std::string& bytes) {
    auto file = Wrap(CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const bool written = file->write(bytes.data(), bytes.size());
    if (file->close() && written) return true;
    DeleteFileW(WidePath(path).c_str());
    return false;
}

bool WinFileSystem::flushFile(const std::string& path) {
    HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool flushed = FlushFileBuffers(h) != 0;
    return CloseHandle(h) && flushed;
}

bool WinFileSystem::createFolder(const std::string& path) { return CreateDirectoryW(WidePath(path).c_str(), nullptr) != 0; }

std::uint32_t WinFileSystem::attributes(const std::string& path) { return GetFileAttributesW(WidePath(path).c_str()); }

bool WinFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
    return SetFileAttributesW(WidePath(path).c_str(), attributes) != 0;
}

bool WinFileSystem::deleteFile(const std::string& path) { return DeleteFileW(WidePath(path).c_str()) != 0; }

DeleteOutcome WinFileSystem::deleteIfSame(const std::string& path, const FileInfo& expected) {
    // One handle for the check and the deletion: no other file can take the name between.
    HANDLE h = CreateFileW(WidePath(path).c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? DeleteOutcome::Changed
                                                                            : DeleteOutcome::Failed;
    }
    const FileInfo now = IdentityOf(h);
    DeleteOutcome outcome = DeleteOutcome::Changed;
    if ((expected.identity.empty() || now.identity == expected.identity) && now.size == expected.size &&
        now.writeTime == expected.writeTime) {
        // Read-only, hidden and system files go too; a file that stays keeps its marks.
        FILE_BASIC_INFO marks = {};
        const bool readOnly = (now.attributes & FILE_ATTRIBUTE_READONLY) != 0;
        const DWORD left = now.attributes & ~FILE_ATTRIBUTE_READONLY;
        marks.FileAttributes = left ? left : FILE_ATTRIBUTE_NORMAL;
        if (readOnly) SetFileInformationByHandle(h, FileBasicInfo, &marks, sizeof marks);
        FILE_DISPOSITION_INFO dispose = {TRUE};
        outcome = SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose) ? DeleteOutcome::Deleted
                                                                                               : DeleteOutcome::Failed;
        if (readOnly && outcome == DeleteOutcome::Failed) {
            marks.FileAttributes = now.attributes;
            SetFileInformationByHandle(h, FileBasicInfo, &marks, sizeof marks);
        }
    }
    CloseHandle(h);  // a file marked for deletion goes with its last handle
    return outcome;
}

bool WinFileSystem::replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::string WinFileSystem::volumeFormat(const std::string& root) {
    if (root.size() < 2 || root[1] != ':') return "";
    wchar_t name[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(DriveRoot(root[0]).c_str(), nullptr, 0, nullptr, nullptr, nullptr, name, MAX_PATH + 1))
        return "";
    return Narrow(name);
}

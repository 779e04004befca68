#pragma once
// The file system as the program needs it. Paths are GBK byte strings with "\" separators.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

inline constexpr std::uint32_t kNoAttributes = 0xFFFFFFFF;
inline constexpr std::uint32_t kReadOnlyAttribute = 0x1, kHiddenAttribute = 0x2, kSystemAttribute = 0x4,
                               kNormalAttributes = 0x80;

// What the copy job needs to know of a file.
struct FileInfo {
    std::int64_t size = -1;  // -1: not there, or not a file
    std::int64_t writeTime = -1;
    std::string identity;  // names the file itself, whatever its path ("" when unknown)
    std::uint32_t attributes = kNoAttributes;
};

// An open file. Every call reports failure; nothing is assumed to have worked.
class File {
public:
    virtual ~File() = default;
    // The open file's size in bytes, or -1.
    virtual std::int64_t size() = 0;
    // Bytes read into buf (0 at the end of the file), or -1 on a read error.
    virtual std::int64_t read(void* buf, std::size_t len) = 0;
    // True only when all len bytes were written.
    virtual bool write(const void* buf, std::size_t len) = 0;
    // Pushes written data to the device.
    virtual bool flush() = 0;
    // Size, last-write time (100 ns steps since 1601, as Windows keeps it) and attributes
    // of the file this handle opened; size -1 when unknown. No identity: see identity().
    virtual FileInfo info() = 0;
    // The identity of the file this handle opened ("" when unknown). Apart from info(), as
    // it can cost far more (under Wine a round trip to another process for the volume).
    virtual std::string identity() = 0;
    // In one step: the file hidden or shown, and its last-write time.
    virtual bool setDetails(bool hidden, std::int64_t writeTime) = 0;
    // Closing can report a late write error; a file is closed once.
    virtual bool close() = 0;
};

struct DirEntry {
    std::string name;  // without the folder
    bool isFolder = false;
    std::int64_t bytes = -1;  // a file's size, when the listing gives it
    std::int64_t writeTime = -1;
    std::uint32_t attributes = kNoAttributes;
};

enum class ReadMode { Cached, Uncached };  // Uncached reads past the OS cache where possible
// A Hidden file is a copy in the making: hidden and marked as a system file until
// setDetails shows it, so one left behind by an unplugged player is known as such.
enum class WriteMode { Visible, Hidden };

// Room on a drive; -1 where the drive cannot be asked.
struct DriveSpace {
    std::int64_t freeBytes = -1;
    std::int64_t clusterBytes = -1;  // every file takes whole clusters
};

// Bytes as a drive holds them: whole clusters (an unknown cluster size counts bytes).
inline std::int64_t ClusterRound(std::int64_t bytes, std::int64_t clusterBytes) {
    if (clusterBytes <= 1 || bytes <= 0) return bytes;
    return (bytes + clusterBytes - 1) / clusterBytes * clusterBytes;
}

enum class DeleteOutcome { Deleted, Changed, Failed };

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Size in bytes, or -1 when it cannot be read (missing, a folder, no access).
    virtual std::int64_t fileSize(const std::string& path) = 0;
    // A file or folder of that name exists, or may: false only when the name is surely
    // free, never because the look-up failed.
    virtual bool exists(const std::string& path) = 0;
    // A directory entry of exactly this name (no trailing "\") with the folder attribute.
    virtual bool isFolder(const std::string& path) = 0;
    // Total size of the drive with this letter, or -1 when it cannot be queried.
    virtual std::int64_t driveTotalBytes(char letter) = 0;
    // Free space of the drive with this letter in 1024-byte units, or -1.
    virtual std::int64_t driveFreeKb(char letter) = 0;
    // Free bytes and cluster size, for counting the room files will take.
    virtual DriveSpace driveSpace(char letter) = 0;
    // The letters of the removable drives present, in order ("" when there are none).
    virtual std::string removableDrives() = 0;
    // The entries of one folder (no "." or ".."), in no particular order.
    virtual std::vector<DirEntry> listFolder(const std::string& folder) = 0;

    virtual std::unique_ptr<File> openRead(const std::string& path, ReadMode = ReadMode::Cached) = 0;
    // Creates the file or empties an existing one.
    virtual std::unique_ptr<File> openWrite(const std::string& path, WriteMode = WriteMode::Visible) = 0;
    // A new hidden file; fails when the name is taken, and then sets exists. The create is
    // the existence check, so a new file costs one look-up.
    virtual std::unique_ptr<File> createNew(const std::string& path, bool& exists) = 0;
    // Size, last-write time and identity of a file, from one look-up.
    virtual FileInfo fileInfo(const std::string& path) = 0;
    // The path as the file system compares names: two paths with one key name one file.
    virtual std::string nameKey(const std::string& path) = 0;
    // Writes a new file with these bytes; fails when the file exists or cannot be written,
    // and then leaves no partial file of its own behind.
    virtual bool createNewFile(const std::string& path, const std::string& bytes) = 0;
    // Pushes an existing file's data to the device without changing it.
    virtual bool flushFile(const std::string& path) = 0;
    // Creates one folder; its parent must exist.
    virtual bool createFolder(const std::string& path) = 0;
    // The Windows attribute bits, or kNoAttributes when they cannot be read.
    virtual std::uint32_t attributes(const std::string& path) = 0;
    virtual bool setAttributes(const std::string& path, std::uint32_t attributes) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    // Deletes a file, read-only too, only while it is still the file described (identity
    // where known, size and last-write time), checked and deleted through one open.
    virtual DeleteOutcome deleteIfSame(const std::string& path, const FileInfo& expected) = 0;
    // Puts from in the place of to in one step, written through to the device; to may exist.
    virtual bool replaceFile(const std::string& from, const std::string& to) = 0;
    // The file system's name on the volume of this drive root ("FAT32", "NTFS"), or "".
    virtual std::string volumeFormat(const std::string& root) = 0;
};

#pragma once
// An in-memory file system with drives, for tests; faults can be injected per call.
// Each call is whole before another thread's starts. It keeps Windows' rules where the
// copy job meets them: names compared without case, files taking whole clusters, and
// sharing: an open handle blocks what its share mode does not allow (deleting, renaming
// or replacing its file, a second writer) and keeps reading the file it opened whatever
// happens to its path.
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/files.h"

// Corrupt: a write reports success but the device keeps damaged bytes. Info is a look-up
// by name (size, existence, details, a folder's entries), Space a drive's free space.
enum class FaultOp {
    OpenRead, OpenWrite, Read, Write, Flush, Close, Delete, Attributes, CreateFolder, Replace, Corrupt, Info, Space
};

// What a handle does to its file, and what it lets other handles do meanwhile.
enum SimAccess : unsigned { kSimRead = 1, kSimWrite = 2, kSimDelete = 4 };

class SimFileSystem : public FileSystem {
public:
    struct Open {
        unsigned access = 0, share = 0;
    };
    struct Node {
        bool folder = false;
        std::string data;
        bool readOnly = false;
        bool locked = false;  // opened by another program that shares nothing
        bool hidden = false;
        bool system = false;
        std::int64_t claimedSize = -1;  // a size too large to hold: what the file says it has
        std::int64_t writeTime = 0;     // 100 ns steps; each file added or written gets a later one
        std::uint64_t id = 0;           // the file itself, whatever its name
        std::list<Open> opens;          // the handles open on it now
    };
    struct Drive {
        std::int64_t totalBytes = 8LL << 30;
        std::int64_t freeBytes = 4LL << 30;
        std::string format = "NTFS";
        bool removable = false;
        std::int64_t clusterBytes = 4096;
    };

    std::int64_t fileSize(const std::string& path) override;
    bool exists(const std::string& path) override;
    bool isFolder(const std::string& path) override;
    std::int64_t driveTotalBytes(char letter) override;
    std::int64_t driveFreeKb(char letter) override;
    DriveSpace driveSpace(char letter) override;
    std::string removableDrives() override;
    std::vector<DirEntry> listFolder(const std::string& folder) override;
    std::unique_ptr<File> openRead(const std::string& path, ReadMode) override;
    std::unique_ptr<File> openWrite(const std::string& path, WriteMode = WriteMode::Visible) override;
    std::unique_ptr<File> createNew(const std::string& path, bool& exists) override;
    FileInfo fileInfo(const std::string& path) override;
    std::string nameKey(const std::string& path) override { return key(path); }
    bool createNewFile(const std::string& path, const std::string& bytes) override;
    bool flushFile(const std::string& path) override;
    bool createFolder(const std::string& path) override;
    std::uint32_t attributes(const std::string& path) override;
    bool setAttributes(const std::string& path, std::uint32_t attributes) override;
    bool replaceFile(const std::string& from, const std::string& to) override;
    std::string volumeFormat(const std::string& root) override;
    bool deleteFile(const std::string& path) override;
    DeleteOutcome deleteIfSame(const std::string& path, const FileInfo& expected) override;

    // Setting up a test: a drive, folders (parents included) and files.
    void addDrive(char letter, std::int64_t totalBytes, std::int64_t freeBytes);
    void removeDrive(char letter);  // unplugged: the drive and all below it are gone
    // Unplugged and plugged back: what reached the drive is there again.
    void unplug(char letter);
    void plugIn(char letter);
    void addFolder(const std::string& path);
    void addFile(const std::string& path, const std::string& data);
    Node* find(const std::string& path);
    std::string contents(const std::string& path);  // "" when missing

    // Return true to make that call fail.
    std::function<bool(FaultOp, const std::string& path)> fault;
    // Called before each openRead, outside the lock: a test may wait here for another thread.
    std::function<void(const std::string& path, ReadMode)> beforeOpenRead;
    std::map<char, Drive> drives;
    std::size_t maxPathBytes = 259;  // longer paths cannot be created, as with MAX_PATH

private:
    friend class SimFile;
    using NodePtr = std::shared_ptr<Node>;
    bool failing(FaultOp op, const std::string& path) { return fault && fault(op, path); }
    static std::string key(const std::string& path);
    static bool mayOpen(const Node&, unsigned access, unsigned share);
    std::unique_ptr<File> openHandle(const NodePtr&, const std::string& path, unsigned access, unsigned share);
    NodePtr newNode(const std::string& path);
    std::unique_ptr<File> openWriteAt(const std::string& path, WriteMode);  // no fault of its own
    void release(const std::string& path, const Node&);  // its clusters are free again
    bool parentExists(const std::string& path);
    std::int64_t nextTime() { return clock_ += 100'000'000; }  // 10 s apart: never "the same time"
    std::recursive_mutex mutex_;  // a verifying job works from two threads
    std::int64_t clock_ = 133'000'000'000'000'000;
    std::uint64_t lastId_ = 0;
    std::map<std::string, NodePtr> nodes;       // by key
    std::map<std::string, std::string> names;  // key -> path as first written
    struct Shelved {
        Drive drive;
        std::map<std::string, NodePtr> nodes;
        std::map<std::string, std::string> names;
    };
    std::map<char, Shelved> unplugged_;
};

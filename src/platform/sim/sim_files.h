#pragma once
// An in-memory file system with drives, for tests; faults can be injected per call.
// Each call is whole before another thread's starts.
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "platform/files.h"

// Corrupt: a write reports success but the device keeps damaged bytes.
enum class FaultOp { OpenRead, OpenWrite, Read, Write, Flush, Close, Delete, Attributes, CreateFolder, Replace, Corrupt };

class SimFileSystem : public FileSystem {
public:
    struct Node {
        bool folder = false;
        std::string data;
        bool readOnly = false;
        bool locked = false;  // opened by someone else: cannot be opened or deleted
        bool hidden = false;
        std::int64_t claimedSize = -1;  // a size too large to hold: what the file says it has
        std::int64_t writeTime = 0;     // 100 ns steps; each file added or written gets a later one
    };
    struct Drive {
        std::int64_t totalBytes = 8LL << 30;
        std::int64_t freeBytes = 4LL << 30;
        std::string format = "NTFS";
        bool removable = false;
    };

    std::int64_t fileSize(const std::string& path) override;
    bool exists(const std::string& path) override;
    bool isFolder(const std::string& path) override;
    std::int64_t driveTotalBytes(char letter) override;
    std::int64_t driveFreeKb(char letter) override;
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

    // Setting up a test: a drive, folders (parents included) and files.
    void addDrive(char letter, std::int64_t totalBytes, std::int64_t freeBytes);
    void removeDrive(char letter);  // unplugged: the drive and all below it are gone
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
    bool failing(FaultOp op, const std::string& path) { return fault && fault(op, path); }
    static std::string key(const std::string& path);
    std::recursive_mutex mutex_;  // a verifying job works from two threads
    bool parentExists(const std::string& path);
    std::int64_t nextTime() { return clock_ += 100'000'000; }  // 10 s apart: never "the same time"
    std::int64_t clock_ = 133'000'000'000'000'000;
    std::map<std::string, Node> nodes;        // by key
    std::map<std::string, std::string> names; // key -> path as first written
};

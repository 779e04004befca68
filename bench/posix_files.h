#pragma once
// Real files for the benchmarks: drive letters mapped onto POSIX folders, "\" onto "/".
#include <map>

#include "platform/files.h"

class PosixFileSystem : public FileSystem {
public:
    // inRam: uncached reads come from the cache and flushes do nothing, to measure the
    // engine's own work apart from the device's.
    PosixFileSystem(std::map<char, std::string> drives, bool inRam = false)
        : drives_(std::move(drives)), inRam_(inRam) {}

    std::int64_t fileSize(const std::string& path) override;
    bool exists(const std::string& path) override;
    bool isFolder(const std::string& path) override;
    std::int64_t driveTotalBytes(char letter) override;
    std::int64_t driveFreeKb(char letter) override;
    DriveSpace driveSpace(char letter) override;
    std::string removableDrives() override { return ""; }  // the benchmarks copy between fixed folders
    std::vector<DirEntry> listFolder(const std::string& folder) override;
    std::unique_ptr<File> openRead(const std::string& path, ReadMode) override;
    std::unique_ptr<File> openWrite(const std::string& path, WriteMode = WriteMode::Visible) override;
    std::unique_ptr<File> createNew(const std::string& path, bool& exists) override;
    FileInfo fileInfo(const std::string& path) override;
    std::string nameKey(const std::string& path) override { return path; }  // the benchmarks' names differ anyway
    bool createNewFile(const std::string& path, const std::string& bytes) override;
    bool flushFile(const std::string& path) override;
    bool createFolder(const std::string& path) override;
    std::uint32_t attributes(const std::string& path) override;
    bool setAttributes(const std::string& path, std::uint32_t attributes) override;
    bool replaceFile(const std::string& from, const std::string& to) override;
    std::string volumeFormat(const std::string&) override { return ""; }
    bool deleteFile(const std::string& path) override;
    DeleteOutcome deleteIfSame(const std::string& path, const FileInfo& expected) override;

    std::string hostPath(const std::string& path) const;  // "" for an unknown drive

private:
    std::unique_ptr<File> wrap(int fd, bool direct = false) const;

    std::map<char, std::string> drives_;
    bool inRam_;
};

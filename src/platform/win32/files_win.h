#pragma once
// The file system on Windows, through the wide file functions.
#include "platform/files.h"

class WinFileSystem : public FileSystem {
public:
    std::int64_t fileSize(const std::string& path) override;
    bool exists(const std::string& path) override;
    bool isFolder(const std::string& path) override;
    std::int64_t driveTotalBytes(char letter) override;
    std::int64_t driveFreeKb(char letter) override;
    DriveSpace driveSpace(char letter) override;
    std::string removableDrives() override;  // drives_win.cpp
    std::vector<DirEntry> listFolder(const std::string& folder) override;
    std::unique_ptr<File> openRead(const std::string& path, ReadMode) override;
    std::unique_ptr<File> openWrite(const std::string& path, WriteMode = WriteMode::Visible) override;
    std::unique_ptr<File> createNew(const std::string& path, bool& exists) override;
    FileInfo fileInfo(const std::string& path) override;
    std::string nameKey(const std::string& path) override;
    bool createNewFile(const std::string& path, const std::string& bytes) override;
    bool flushFile(const std::string& path) override;
    bool createFolder(const std::string& path) override;
    std::uint32_t attributes(const std::string& path) override;
    bool setAttributes(const std::string& path, std::uint32_t attributes) override;
    bool replaceFile(const std::string& from, const std::string& to) override;
    std::string volumeFormat(const std::string& root) override;
    bool deleteFile(const std::string& path) override;
    DeleteOutcome deleteIfSame(const std::string& path, const FileInfo& expected) override;
};

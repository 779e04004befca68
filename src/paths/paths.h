#pragma once
// Destination paths: GBK-aware path text helpers, the rule lookup, the folder test, the
// FAT size limit. Both the copy list and the copy job use them.
#include <string>

struct App;
class FileSystem;

struct RuleMatch {
    int ruleIndex = 0;          // 0 = no rule, else the 1-based rule row
    std::string subPath = "\\";
};

std::string GetExtension(const std::string& path);
std::string GetFileName(const std::string& path);
std::string GetFolderPart(const std::string& path);
RuleMatch LookupRule(App&, const std::string& path);
// "" when the sub-path would lead out of the root.
std::string BuildDestinationPath(const std::string& root, const std::string& subPath,
                                 const std::string& sourcePath);
// "K:\\music\\01 (2).mp3" for k = 2 and "K:\\music\\01.mp3".
std::string NumberedName(const std::string& path, int k);
bool FolderExists(FileSystem&, const std::string& path);
// The path names a file, so it cannot be a folder to copy into.
bool IsFileNotFolder(FileSystem&, const std::string& path);

inline constexpr char kTooLargeForFatText[] = "文件大于4GB，目标磁盘为FAT32格式，无法存放";
// FAT12, FAT16 and FAT32 hold no file of 4 GiB or more.
bool IsFatFormat(const std::string& volumeFormat);

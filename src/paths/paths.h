#pragma once
// Destination paths: GBK-aware path text helpers, the rule lookup, the folder test, the
// FAT size limit. Both the copy list and the copy job use them.
#include <string>
#include <utility>
#include <vector>

struct App;
class FileSystem;
class System;

struct RuleMatch {
    int ruleIndex = 0;          // 0 = no rule, else the 1-based rule row
    std::string subPath = "\\";
};

std::string GetExtension(const std::string& path);
std::string GetFileName(const std::string& path);
std::string GetFolderPart(const std::string& path);
RuleMatch LookupRule(App&, const std::string& path);
// The extension list as it stands, read once for the many files of a folder.
struct RuleTable {
    std::vector<std::pair<std::string, std::string>> rows;  // extensions, sub-path
};
RuleTable ReadRules(App&);
RuleMatch LookupRule(const RuleTable&, const std::string& path);
// The paths of a "\r\n"-separated list, empty ones left out, each made whole and plain
// as the system would open it (see System::fullPath): how paths enter the copy list.
std::vector<std::string> WholePaths(System&, const std::string& text);
// Why the source's file name cannot be kept on the player, "" when it can: a device name,
// a final dot or blank (Windows drops it), a ":" (it names a stream of the file).
std::string NameRefusal(const std::string& sourcePath);
inline constexpr char kDeviceNameText[] = "文件名是Windows保留的设备名，复制失败!";
inline constexpr char kCutNameText[] = "文件名以点或空格结尾，Windows会改掉这个名字，复制失败!";
inline constexpr char kStreamNameText[] = "文件名含冒号，指的是文件的附加数据流，复制失败!";
// "" unless the copy lands right inside the rule's folder: the sub-path must not lead
// out of the root, and the source's name must be plain (not empty, no separator, and
// nothing NameRefusal refuses).
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

#pragma once
// A file already at a copy's destination: the source itself, the same file again, or
// another file to ask about.
#include <cstdint>
#include <string>

#include "platform/files.h"

struct App;

inline constexpr char kSameFileText[] = "源文件与目标文件是同一个文件";

// Both name one file: by identity where the platform gives one, else by the folded path.
bool SameFile(FileSystem&, const std::string& source, const std::string& sourceIdentity, const std::string& dest,
              const FileInfo& destInfo);
// A copy the program had not finished, left under its real name by an unplugged player:
// hidden and marked as a system file, as the program makes its copies until they are whole.
bool IsUnfinishedCopy(const FileInfo&);
// The same size and last-write time, allowing for FAT's 2 s steps; a hidden file is not
// the copy the user asked for, whatever it holds.
bool LooksIdentical(std::int64_t size, std::int64_t writeTime, const FileInfo& dest);
// "源文件：4.88 KB，2024-05-01 12:00\r\n播放器上：3.52 MB，2023-11-20 08:15", in local time;
// a size under 1 KB in 字节.
std::string OverwriteDetails(App&, std::int64_t size, std::int64_t writeTime, const FileInfo& dest);

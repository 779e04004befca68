#pragma once
// The copy job's walk over its rows: on the worker for method 1, on the main thread for
// method 2. It reads no control; the plan is taken on the main thread when the job starts.
#include <cstdint>
#include <string>
#include <vector>

struct App;
class JobEvents;

struct JobRow {
    std::string source;   // column 0
    std::string subPath;  // column 2
    std::int64_t bytes;   // column 1, as listed
};

struct JobPlan {
    bool ownCopy = true;  // method 1; else the shell copies on the main thread
    std::string root;
    bool verify = false;
    bool deleteSource = false;
    bool fatTarget = false;  // no file of 4 GiB or more fits
    std::vector<JobRow> rows;
    // Bytes to copy, and to read back when verifying.
    std::int64_t work(const JobRow& row) const { return row.bytes * (verify ? 2 : 1); }
};

inline constexpr char kTooLargeForFatText[] = "文件大于4GB，目标磁盘为FAT32格式，无法存放";

void RunCopyJob(App&, JobEvents&, const JobPlan&);
// FAT12, FAT16 and FAT32 hold no file of 4 GiB or more.
bool IsFatFormat(const std::string& volumeFormat);

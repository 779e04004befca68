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
    std::int64_t bytes;   // as listed (column 1)
    bool noRoom = false;  // left for lack of room on the player, at the user's word
};

struct JobPlan {
    bool ownCopy = true;  // method 1; else the shell copies on the main thread
    std::string root;
    bool verify = false;
    bool deleteSource = false;
    bool fatTarget = false;  // no file of 4 GiB or more fits
    std::vector<JobRow> rows;
    // What a row costs the job: its bytes and, as many bytes' worth, the opening, creating,
    // flushing and placing that even an empty file takes; twice when verifying, for the
    // read-back.
    std::int64_t work(const JobRow& row) const { return (row.bytes + kFileWork) * (verify ? 2 : 1); }
    static constexpr std::int64_t kFileWork = 64 << 10;
};

void RunCopyJob(App&, JobEvents&, const JobPlan&);

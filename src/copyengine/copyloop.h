#pragma once
// The copy job's walk over its rows: on the worker for method 1, on the main thread for
// method 2. It reads no control; the plan is taken on the main thread when the job starts.
#include <string>
#include <vector>

struct App;
class JobEvents;

struct JobRow {
    std::string source;   // column 0
    std::string subPath;  // column 2
};

struct JobPlan {
    bool ownCopy = true;  // method 1; else the shell copies on the main thread
    std::string root;
    bool verify = false;
    bool deleteSource = false;
    std::vector<JobRow> rows;
};

void RunCopyJob(App&, JobEvents&, const JobPlan&);

#pragma once
// Copy jobs made up at random and checked against the job's promises. A job is a small
// world (sources on S:, a player on K:), a list, the options, the user's answers and at
// most one event at the n-th file operation; it runs on the simulator, and the promises
// are checked from the outside: files, rows and the summary.
#include <cstdint>
#include <string>
#include <vector>

enum class Event { None, Cancel, Exit, Unplug, SourceChanged, SourceDeleted, Failure, PlayerFills };

struct WorldFile {
    std::string path;
    int bytes = 0;
    int fill = 0;  // files of one fill and size hold the same bytes
    int age = 0;   // seconds before the job; within 2 s is the same date on FAT
    bool readOnly = false;
    bool hidden = false;
    bool leftover = false;  // hidden and system: a copy an unplugged player kept
};

inline constexpr int kPlenty = 4096;

struct CampaignJob {
    std::vector<WorldFile> files;
    std::vector<std::string> listed;  // added to the list in this order
    int clusterBytes = 4096;
    int freeClusters = 4096;  // kPlenty, or about what the list takes
    bool verify = false, shell = false, deleteSource = false, rules = true;
    std::vector<int> answers;  // to each question: 0 跳过, 1 覆盖, +2 for the rest of the job
    bool copyWhatFits = true;  // 是 when the list does not fit
    Event event = Event::None;
    int eventAt = 0;          // the file operation of the job, counted from 1, it comes at
    int eventOp = -1;         // counting only operations of this FaultOp, or -1 for any
    bool atQuestion = false;  // or the question (取消, 退出, an unplug while it is up)
    int eventFile = 0;        // the listed file on S: a source event changes or deletes
    bool twice = false;  // the copied rows listed again and copied with nothing changed
};

// "" when every promise held, else the promise broken and where.
std::string RunCampaignJob(const CampaignJob&);
// The job as the lines of a unit test.
std::string JobAsCode(const CampaignJob&);

struct CampaignOutcome {
    int jobs = 0;
    int failed = 0;
    std::string report;  // each failure shrunk to its smallest job, as code
};
// jobs generated jobs from seed, in rounds of at most 500 with seeds seed, seed + 1, ...:
// each round stops at its first failure and shrinks it.
CampaignOutcome RunCampaign(std::uint64_t seed, int jobs);

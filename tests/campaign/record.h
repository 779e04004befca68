#pragma once
// What a campaign job left to be checked: the files before and after, the rows and what
// became of them, the summary and the questions asked.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "campaign.h"

struct FileState {
    std::string path, bytes;
    bool hidden = false, system = false, readOnly = false;
    std::int64_t writeTime = 0;
};
using Files = std::map<std::string, FileState>;  // by the name as the file system compares it

struct RowRecord {
    std::string path, subPath;
    int image = 0;
    bool left = false;   // left the list: counted as copied
    std::string reason;  // why it failed, while it stays
    int imageAfter = 0;
};

struct JobRecord {
    Files before, after;
    std::vector<RowRecord> rows;
    std::string summary;
    std::set<std::string> asked;       // keys of the files the questions were about
    std::set<std::string> mayReplace;  // keys of files the user let the job replace
    bool replaceAll = false;           // answered 覆盖 for the rest of the job
    // Every content each file had (a source event changes one), by key.
    std::map<std::string, std::set<std::string>> contents;
    std::set<std::string> listed;      // keys of the listed files
    std::set<std::string> goneByEvent;  // deleted by the event, not by the job
    std::string changedByEvent;
    std::map<std::string, std::string> lastBytes;  // what the event left in the file it changed
    bool faulted = false;    // an operation failed or the player was unplugged
    // The files on the player the job opened to write, by key, and the room then: the free
    // space, and the old file's clusters a copy over it may take too.
    struct Room { std::int64_t free = 0, old = 0; };
    std::map<std::string, Room> openedWithRoom;
    bool unplugged = false;
    bool shellsMoment = false;  // the event came right after the shell made a copy, still in sight
    int closedQuestion = -1;  // the question 取消 or 退出 came during: it answers 跳过
    bool askedRoom = false;   // whether to copy only what fits
    bool filled = false;      // another program took the player's room during the job
};

// "" when the promises hold for this job.
std::string CheckPromises(const CampaignJob&, const JobRecord&);
// Folds a path as the simulated file system compares names.
std::string Key(const std::string& path);

#pragma once
// Where a job's files go: the names it has written, so that a later file of the same name
// never replaces one of them, and the folders it has found or made.
#include <set>
#include <string>

#include "platform/files.h"

class JobDestinations {
public:
    explicit JobDestinations(FileSystem& fs) : fs_(fs) {}
    // dest itself, or once this job wrote dest the first "name (k).ext" beside it that the
    // job has not written. A numbered name already on the player is met like any file
    // there, so copying the same album again finds its own earlier copies.
    std::string claim(const std::string& dest) const;
    void note(const std::string& dest) { written_.insert(fs_.nameKey(dest)); }
    // The folder is there (made if need be); each folder is looked at once a job.
    bool haveFolder(const std::string& folder);

private:
    bool written(const std::string& path) const { return written_.count(fs_.nameKey(path)) > 0; }
    FileSystem& fs_;
    std::set<std::string> written_;
    std::set<std::string> folders_;
};

#pragma once
// The copy job's two stages over its rows, and what a row carries from one to the other.
#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/app.h"
#include "copyengine/copyloop.h"
#include "copyengine/destinations.h"
#include "copyengine/handoff.h"
#include "copyengine/jobreport.h"
#include "copyengine/jobui.h"
#include "copyengine/placement.h"

// A row between the stages: written by the first, checked and put in place by the second.
struct RowWork {
    int index = 0;
    const JobRow* row = nullptr;
    std::optional<CopyResult> result;  // none: skipped, or stopped part-way
    std::optional<Placement> place;    // where the bytes went, once some were written
    std::unique_ptr<File> out;         // the copy, open until it is settled
    FileInfo source;                   // as its copy read it: deleted only while it still is that file
    std::string digest;                // the source's, when the copy is still to be checked
    std::int64_t counted = 0;          // bytes of work the meter was given for it
    int sameAs = -1;                   // an earlier row of the same file: this one takes its outcome
    bool unchanged = false;            // the player already holds this file
};

// The source as the copy needs it: open for method 1, looked at for method 2.
struct Source {
    std::unique_ptr<File> file;
    FileInfo info;
    // Asked of the open file only where it is compared: most copies never need it.
    const std::string& identity() {
        if (file && info.identity.empty()) info.identity = file->identity();
        return info.identity;
    }
};

using Finisher = Handoff<RowWork>;
Finisher::Mode StagesMode(App&, const JobPlan&);

// The job's two stages. Verifying with method 1, the second (read-back, placement, the
// row's result, the source's deletion) runs on a thread of its own while the first copies
// the next row; otherwise both run on the job's thread, one row after the other. Cancel
// stops the copy or check in progress; the rows in hand are abandoned and stay listed.
class CopyStages {
public:
    CopyStages(App& app, JobEvents& events, const JobPlan& plan)
        : app_(app), events_(events), plan_(plan), places_(app.fs), feed_(app, events),
          outcomes_(plan.rows.size()), finisher_(StagesMode(app, plan), [this](RowWork& work) { finish(work); }) {}

    void run();
    int copied() const { return copied_; }
    const JobTally& tally() const { return tally_; }

private:
    bool goingOn() const { return app_.copyBusy != 0 && !ended_; }
    CopyWorkFn countFor(RowWork& work) {
        return [this, &work](std::int64_t bytes) {
            work.counted += bytes;
            feed_.add(bytes);
        };
    }
    StopFn stopper() const {
        return [this] { return !goingOn(); };
    }
    StopFn stopFor(const Placement& place) const { return place.stoppable() ? stopper() : StopFn{}; }

    Source openSource(const std::string& path);

    // First stage: the row's bytes written to its target.
    RowWork copy(int i);

    // A copy that failed where the player has no room for the rest of it.
    bool ranOutOfRoom(const std::string& target, std::int64_t bytes);

    // After a copy met a full player, the job goes on only with a row that still fits once
    // the copies in hand are settled; otherwise it stops with one warning.
    bool stillFits(const JobRow& row);

    // Where the copy goes, opened for writing; false when nothing is to be written: the
    // file is already there, the user keeps the old one, the job stops, or the target
    // cannot be opened or has no room.
    bool open(RowWork& work, Source& source, const std::string& target);

    // A new file at target: created hidden (method 1), or found free for the shell.
    bool openNew(RowWork& work, const std::string& target, bool& exists);

    // A file already at the target: true when it is to be replaced.
    bool replaceExisting(RowWork& work, Source& source, const std::string& target, const FileInfo& there);

    // With verification, a file that looks the same is also compared by digest, read
    // back from the device.
    bool holdsSame(RowWork& work, const std::string& target);

    // A copy that replaces a file goes beside it while the drive has room. Copies still
    // waiting for their check hold room that their placing frees, so ask again once
    // they are settled before writing over the old file.
    std::optional<Placement> placeReplacement(std::int64_t bytes, const std::string& target, const FileInfo& there);

    // Second stage: the copy checked and put in place; the row's result; the source's deletion.
    // Rows in hand when the job stops (Cancel, an unplugged player) are abandoned.
    void finish(RowWork& work);

    // A row of a file listed before: its outcome is that row's.
    void finishRepeat(RowWork& work);

    void endRow(RowWork& work);

    App& app_;
    JobEvents& events_;
    const JobPlan& plan_;
    JobDestinations places_;
    MeterFeed feed_;
    std::atomic<bool> ended_{false};  // the player is gone or full
    bool full_ = false;                // the first stage's: a copy met a full player
    std::map<std::string, int> sources_;  // the first stage's: each source's first row, by name key
    std::optional<bool> overwriteAll_;     // the answer for the rest of the job, once given
    // The second stage's.
    std::vector<std::optional<CopyResult>> outcomes_;
    int copied_ = 0;
    JobTally tally_;
    Finisher finisher_;
};

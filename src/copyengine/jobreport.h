#pragma once
// What the copy worker has the main thread show: the row it works on, each row's outcome,
// warnings and the progress line, all through the job's coalesced events.
#include <cstdint>
#include <mutex>
#include <string>

#include "copyengine/filecopy.h"

struct App;
class JobEvents;
class JobMeter;

// A later row's announcement or this row's outcome replaces what the main thread has not
// shown yet, so a row copied between two batches shows only its outcome.
void AnnounceRow(App&, JobEvents&, int row, const std::string& source);
// The outcome's status, an error balloon too, gives way to the next row's announcement
// (the balloon shows the file being worked on); a failed row shows its cross at once, so
// its tip tells why while the job goes on.
void ReportRow(App&, JobEvents&, int row, const std::string& source, const CopyResult&);
void Warn(App&, JobEvents&, const std::string& text);

// The worker's side of the progress line: both stages count the work and, at most four
// times a second, have the main thread show it.
class MeterFeed {
public:
    MeterFeed(App&, JobEvents&);
    void add(std::int64_t bytes);
    void endRow(std::int64_t work, std::int64_t counted);

private:
    void tick();
    App& app_;
    JobEvents& events_;
    JobMeter& meter_;
    std::mutex mutex_;
    bool shown_ = false;
    std::uint64_t last_ = 0;
};

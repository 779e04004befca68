#pragma once
// The copy job's own state, held by App::job. Only the main thread touches the flags.
#include <memory>
#include <vector>

#include "app/app.h"
#include "copyengine/jobevents.h"
#include "copyengine/jobmeter.h"

struct CopyJobState {
    explicit CopyJobState(App& app) : events(app.sys, app.ui) {}
    bool running = false;       // from the start of a job that passed its checks to its end
    // The job's own rows, 0 to n - 1: their images before the job, and which were copied.
    std::vector<int> images;
    std::vector<bool> copied;
    JobEvents events;
    JobMeter meter;
};

inline constexpr int kFailedImage = 8;

inline CopyJobState& JobState(App& app) {
    if (!app.job) app.job = std::make_shared<CopyJobState>(app);
    return *app.job;
}

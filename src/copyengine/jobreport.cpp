#include "copyengine/jobreport.h"

#include "app/app.h"
#include "copyengine/copymethods.h"
#include "copyengine/jobevents.h"
#include "copyengine/jobstate.h"
#include "copyengine/jobui.h"
#include "tray/tray.h"

void AnnounceRow(App& app, JobEvents& events, int row, const std::string& source) {
    const std::string text = "正在复制 " + source + " 请稍候...      ";
    events.latest(JobEvents::Slot::Selection, [&app, row] { app.ui.selectRowAhead(Ctl::超级列表框, row); });
    events.latest(JobEvents::Slot::Row, [&app, row] { app.ui.setRowImage(Ctl::超级列表框, row, 6); }, row);
    events.latest(JobEvents::Slot::Status, [&app, text] { ShowJobStatus(app, text, 1); });
    // Through the coalesced steps, so a file too small for a step shows 0, never the last 100 %.
    events.progress(0, [&app](int step) { ShowCopyStep(app, Ctl::进度条2, {}, {}, step); });
}

void ReportRow(App& app, JobEvents& events, int row, const std::string& source, const CopyResult& result) {
    events.latest(JobEvents::Slot::Status, [&app, result] { ShowJobStatus(app, result.text, result.ok ? 1 : 3); });
    events.latest(JobEvents::Slot::Row, [&app, row, source, result] {
        app.ui.setRowMark(Ctl::超级列表框, row, result.ok ? 2 : 1);
        app.ui.setRowImage(Ctl::超级列表框, row, result.ok ? 7 : kFailedImage);
        CopyJobState& job = JobState(app);
        job.copied[row] = result.ok;
        if (result.ok) app.failureReasons.erase(source);
        else app.failureReasons[source] = result.text;
    }, row);
}

void Warn(App& app, JobEvents& events, const std::string& text) {
    events.send([&app, text] { ShowTrayBalloon(app, kProgramTitle, text, 2); });
}

MeterFeed::MeterFeed(App& app, JobEvents& events) : app_(app), events_(events), meter_(JobState(app).meter) {}

void MeterFeed::add(std::int64_t bytes) {
    meter_.add(bytes);
    tick();
}

void MeterFeed::endRow(std::int64_t work, std::int64_t counted) {
    meter_.endRow(work, counted);
    tick();
}

void MeterFeed::tick() {
    std::lock_guard lock(mutex_);
    const std::uint64_t now = app_.sys.tickMs();
    if (shown_ && now - last_ < 250) return;
    shown_ = true;
    last_ = now;
    events_.latest(JobEvents::Slot::Meter, [&app = app_] { ShowProgressLine(app); });
}

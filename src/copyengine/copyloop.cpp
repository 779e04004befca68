#include "copyengine/copyloop.h"

#include "copyengine/copystages.h"
#include "copyengine/jobevents.h"
#include "text/number.h"

Finisher::Mode StagesMode(App& app, const JobPlan& plan) {
    if (!plan.verify || !plan.ownCopy) return Finisher::Mode::AtOnce;
    return app.sys.realThreads() ? Finisher::Mode::Thread : Finisher::Mode::OneBehind;
}

void RunCopyJob(App& app, JobEvents& events, const JobPlan& plan) {
    const std::uint64_t t0 = app.sys.tickMs();
    CopyStages stages(app, events, plan);
    stages.run();
    const bool cancelled = app.copyBusy == 0;
    const std::string summary = "共" + std::to_string(plan.rows.size()) + "个,成功复制" +
                                std::to_string(stages.copied()) + "个,耗时" +
                                FormatNumber((app.sys.tickMs() - t0) / 1000.0) + "秒" + (cancelled ? "，已取消" : "");
    events.send([&app, summary, tally = stages.tally()] { EndCopyJob(app, summary, tally); });
}

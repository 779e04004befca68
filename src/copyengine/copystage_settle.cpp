// The second stage: each copy checked and put in place, the row's result, the source's
// deletion, and the job's tally.
#include "copyengine/copymethods.h"
#include "copyengine/copystages.h"
#include "copyengine/jobevents.h"
#include "copyengine/room.h"
#include "paths/paths.h"

void CopyStages::finish(RowWork& work) {
    if (work.sameAs >= 0) return finishRepeat(work);
    std::optional<CopyResult>& result = work.result;
    if (result && result->ok && !work.digest.empty())
        result = CheckCopy(app_.fs, work.place->target, work.digest, countFor(work), stopFor(*work.place));
    const bool abandoned = !goingOn() && (!work.place || work.place->stoppable());
    if (work.place) {
        const CopyResult settled = SettleCopy(app_.fs, *work.place, std::move(work.out),
                                              result && !abandoned ? *result : CopyResult{}, work.source.writeTime);
        if (result) result = settled;
    }
    if (abandoned) result.reset();
    if (result && result->ok && plan_.deleteSource &&
        DeleteSource(app_, events_, work.row->source, work.source) == DeleteOutcome::Changed)
        result = CopyResult{false, kSourceChangedSinceText};
    const bool gone = result && !result->ok && !FolderExists(app_.fs, plan_.root);
    if (gone) result->text = kPlayerGoneText;
    outcomes_[work.index] = result;
    if (result) ReportRow(app_, events_, work.index, work.row->source, *result);
    if (gone) {
        ended_ = true;  // the player is gone: one warning, and the job ends
        Warn(app_, events_, "目标磁盘 " + plan_.root + " 已不存在，复制已停止！");
        app_.sys.sleepMs(1000);
    }
    if (result && result->ok) {
        ++copied_;
        if (work.unchanged) {
            ++tally_.unchanged;
            tally_.unchangedBytes += work.source.size;
        }
    }
    if (result && (result->text == kNoRoomText || result->text == kPlayerFullText)) ++tally_.noRoom;
    endRow(work);
}

void CopyStages::finishRepeat(RowWork& work) {
    const std::optional<CopyResult>& result = outcomes_[work.sameAs];
    if (result && goingOn()) {
        ReportRow(app_, events_, work.index, work.row->source, *result);
        if (result->ok) ++copied_;
    }
    endRow(work);
}

void CopyStages::endRow(RowWork& work) {
    feed_.endRow(plan_.work(*work.row), work.counted);
    events_.latest(JobEvents::Slot::Overall,
                   [&app = app_, i = work.index] { app.ui.setProgressPos(Ctl::进度条1, i + 1); });
}

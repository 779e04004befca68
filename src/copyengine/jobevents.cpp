#include "copyengine/jobevents.h"

#include <iterator>

#include "platform/system.h"
#include "platform/ui.h"

namespace {

constexpr std::uint64_t kBatchGapMs = 100;
// A batch hands the window back after this long, so it answers within about that much.
constexpr std::uint64_t kBatchRunMs = 50;

}  // namespace

void JobEvents::send(std::function<void()> fn) {
    if (direct_) {
        fn();
        return;
    }
    std::unique_lock lock(mutex_);
    batch_.push_back(std::move(fn));
    postBatch(lock);
}

void JobEvents::latest(Slot slot, std::function<void()> fn, int row) {
    if (direct_) {
        fn();
        return;
    }
    std::unique_lock lock(mutex_);
    const auto [at, fresh] = slots_.try_emplace({slot, row}, batch_.size());
    if (!fresh) {
        batch_[at->second] = nullptr;
        at->second = batch_.size();
    }
    touchesList_ |= slot == Slot::Selection || slot == Slot::Row;
    batch_.push_back(std::move(fn));
    postBatch(lock);
}

// One batch is on its way at a time, due no sooner than kBatchGapMs after the last one ran.
// The post is made outside the lock, as it may wait for room in the message queue.
void JobEvents::postBatch(std::unique_lock<std::mutex>& lock) {
    if (std::exchange(batchPosted_, true)) return;
    const std::uint64_t now = sys_.tickMs();
    const std::uint64_t due = lastRun_ + kBatchGapMs;
    lock.unlock();
    if (now >= due) sys_.post([this] { runBatch(); });
    else sys_.postAfter(static_cast<int>(due - now), [this] { runBatch(); });
}

// The list's rows and selection change with its redraw held: one repaint for the batch.
void JobEvents::runBatch() {
    std::vector<std::function<void()>> batch;
    bool touchesList = false;
    {
        std::lock_guard lock(mutex_);
        batch.swap(batch_);
        slots_.clear();
        touchesList = std::exchange(touchesList_, false);
        batchPosted_ = false;
        lastRun_ = sys_.tickMs();
    }
    const std::uint64_t start = sys_.tickMs();
    if (touchesList) ui_.holdRedraw(Ctl::超级列表框, true);
    std::size_t done = 0;
    while (done < batch.size() && sys_.tickMs() - start < kBatchRunMs)
        if (auto& fn = batch[done++]) fn();
    if (touchesList) ui_.holdRedraw(Ctl::超级列表框, false);
    if (done < batch.size()) putBack(batch, done, touchesList);
}

// What a batch had no time for goes ahead of what joined it meanwhile, and runs once the
// window has answered what waits.
void JobEvents::putBack(std::vector<std::function<void()>>& batch, std::size_t from, bool touchesList) {
    std::unique_lock lock(mutex_);
    const std::size_t rest = batch.size() - from;
    batch_.insert(batch_.begin(), std::make_move_iterator(batch.begin() + static_cast<std::ptrdiff_t>(from)),
                  std::make_move_iterator(batch.end()));
    for (auto& slot : slots_) slot.second += rest;
    touchesList_ |= touchesList;
    if (std::exchange(batchPosted_, true)) return;
    lock.unlock();
    sys_.postAfter(1, [this] { runBatch(); });
}

void JobEvents::progress(int step, const std::function<void(int)>& show) {
    step_ = step;
    if (stepQueued_.exchange(true)) return;  // the queued update will read this step
    send([this, show] {
        stepQueued_ = false;
        show(step_);
    });
}

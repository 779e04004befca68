#include "copyengine/jobevents.h"

#include "platform/system.h"

void JobEvents::send(std::function<void()> fn) {
    if (direct_) {
        fn();
        return;
    }
    std::lock_guard lock(mutex_);
    batch_.push_back(std::move(fn));
    if (batch_.size() == 1) sys_.post([this] { runBatch(); });
}

void JobEvents::runBatch() {
    std::vector<std::function<void()>> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(batch_);
    }
    for (auto& fn : batch) fn();
}

void JobEvents::progress(int step, const std::function<void(int)>& show) {
    step_ = step;
    if (stepQueued_.exchange(true)) return;  // the queued update will read this step
    send([this, show] {
        stepQueued_ = false;
        show(step_);
    });
}

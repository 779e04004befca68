#include "copyengine/jobevents.h"

#include "platform/system.h"

void JobEvents::send(std::function<void()> fn) {
    if (direct_) {
        fn();
        return;
    }
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(fn));
        if (drainPosted_) return;
        drainPosted_ = true;
    }
    sys_.post([this] { drain(); });
}

void JobEvents::progress(int step, const std::function<void(int)>& show) {
    step_ = step;
    if (stepQueued_.exchange(true)) return;  // the queued update will read this step
    send([this, show] {
        stepQueued_ = false;
        show(step_);
    });
}

void JobEvents::drain() {
    std::vector<std::function<void()>> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(queue_);
        drainPosted_ = false;
    }
    for (auto& fn : batch) fn();
}

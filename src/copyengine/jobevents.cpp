#include "copyengine/jobevents.h"

#include "platform/system.h"

void JobEvents::send(std::function<void()> fn) {
    if (direct_)
        fn();
    else
        sys_.post(std::move(fn));
}

void JobEvents::progress(int step, const std::function<void(int)>& show) {
    step_ = step;
    if (stepQueued_.exchange(true)) return;  // the queued update will read this step
    send([this, show] {
        stepQueued_ = false;
        show(step_);
    });
}

#pragma once
// The copy job's effects on the windows, carried to the main thread in order. They are
// posted in batches: while one batch waits for the main thread, later effects join it, so
// a job of many small files does not post a message per effect. Progress is coalesced so
// that however fast the bytes go, one update at a time is queued.
#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

class System;

class JobEvents {
public:
    explicit JobEvents(System& sys) : sys_(sys) {}

    // True while the job runs on the main thread itself: events then apply at once.
    void setDirect(bool direct) { direct_ = direct; }
    void send(std::function<void()> fn);
    // Per-file progress: only the latest step is shown, by show on the main thread.
    void progress(int step, const std::function<void(int)>& show);

private:
    void runBatch();

    System& sys_;
    bool direct_ = false;
    std::mutex mutex_;
    std::vector<std::function<void()>> batch_;  // waiting for the main thread
    std::atomic<int> step_{0};
    std::atomic<bool> stepQueued_{false};
};

#pragma once
// The copy job's effects on the windows, carried to the main thread in batches of at most
// about ten a second: while one batch waits, later effects join it. An effect that only
// shows the latest state (the status, the selection, a row's image, the bars, the progress
// line) drops the one of its slot still waiting, so a job of 10,000 small files costs the
// window no more than a job of a few big ones. Other effects all happen, in order.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

class System;
class Ui;

class JobEvents {
public:
    // What a latest-only effect shows; Row is one slot per row.
    enum class Slot { Status, Selection, Row, Overall, Meter };

    JobEvents(System& sys, Ui& ui) : sys_(sys), ui_(ui) {}

    // True while the job runs on the main thread itself: events then apply at once.
    void setDirect(bool direct) { direct_ = direct; }
    // Always applied, in order.
    void send(std::function<void()> fn);
    // Drops the effect of the same slot (and row) still waiting, and joins the order last.
    void latest(Slot, std::function<void()> fn, int row = 0);
    // Per-file progress: only the latest step is shown, by show on the main thread.
    void progress(int step, const std::function<void(int)>& show);

private:
    void postBatch(std::unique_lock<std::mutex>& lock);
    void runBatch();
    void putBack(std::vector<std::function<void()>>& batch, std::size_t from, bool touchesList);

    System& sys_;
    Ui& ui_;
    bool direct_ = false;
    std::mutex mutex_;
    std::vector<std::function<void()>> batch_;  // waiting for the main thread; empty where replaced
    std::map<std::pair<Slot, int>, std::size_t> slots_;  // where in batch_ each slot's effect waits
    bool touchesList_ = false;
    bool batchPosted_ = false;
    std::uint64_t lastRun_ = 0;  // ms
    std::atomic<int> step_{0};
    std::atomic<bool> stepQueued_{false};
};

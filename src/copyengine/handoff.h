#pragma once
// Two stages of a job on two threads: what the first hands over, the second takes in the
// same order. At most one item waits while another is taken, so the rows in hand are at
// most three: the one taken, the one waiting and the one the first stage works on.
// Without threads the second stage runs at once, or one item behind on the first's
// thread: the same order of events as two threads where the second lags, every time.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

template <typename Item>
class Handoff {
public:
    enum class Mode { AtOnce, Thread, OneBehind };
    Handoff(Mode mode, std::function<void(Item&)> take) : take_(std::move(take)), behind_(mode == Mode::OneBehind) {
        if (mode == Mode::Thread) thread_ = std::thread([this] { run(); });
    }
    ~Handoff() { finish(); }
    Handoff(const Handoff&) = delete;
    Handoff& operator=(const Handoff&) = delete;

    void give(Item item) {
        if (!thread_.joinable()) {
            takeWaiting();
            items_.push_back(std::move(item));
            if (!behind_) takeWaiting();
            return;
        }
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return items_.empty(); });
        items_.push_back(std::move(item));
        changed_.notify_all();
    }
    // Waits until everything given so far has been taken and dealt with.
    void drain() {
        if (!thread_.joinable()) return takeWaiting();
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return items_.empty() && !taking_; });
    }
    // Waits until everything given was taken.
    void finish() {
        if (!thread_.joinable()) return takeWaiting();
        {
            std::lock_guard lock(mutex_);
            closed_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

private:
    void takeWaiting() {
        while (!items_.empty()) {
            Item item = std::move(items_.front());
            items_.pop_front();
            take_(item);
        }
    }
    void run() {
        for (;;) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return closed_ || !items_.empty(); });
            if (items_.empty()) return;
            Item item = std::move(items_.front());
            items_.pop_front();
            taking_ = true;
            changed_.notify_all();
            lock.unlock();
            take_(item);
            lock.lock();
            taking_ = false;
            changed_.notify_all();
        }
    }

    std::function<void(Item&)> take_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> items_;
    bool closed_ = false;
    bool taking_ = false;
    bool behind_;
    std::thread thread_;
};

#pragma once
#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "platform/sim/sim_paths.h"
#include "platform/system.h"

class SimSystem : public System {
public:
    std::string programPath() override { return exePath; }
    bool createInstanceEvent(const std::string& name) override;
    std::uint32_t readInstanceWindow(const std::string& name) override;
    void writeInstanceWindow(const std::string& name, std::uint32_t window) override;
    void deleteInstanceWindow(const std::string& name) override;
    void activateWindow(std::uint32_t window) override { activated.push_back(window); }
    std::string commandLinePaths() override { return commandLine; }
    bool handOverPaths(std::uint32_t window, const std::string& paths) override;
    std::string fullPath(const std::string& path) override { return ResolvePath(path, currentFolder); }
    void quit(int code) override { quitCode = code; }
    void exitProcess(int code) override { exitCode = code; }
    std::uint64_t tickMs() override { return now; }
    std::int64_t localFileTime(std::int64_t utc) override { return utc; }  // the simulated user lives at UTC
    void sleepMs(int ms) override { now += ms; }
    void post(std::function<void()> fn) override {
        std::lock_guard lock(postMutex);
        posted.push_back(std::move(fn));
    }
    // Runs with the other posts, as if the time had passed; the wait asked for is kept.
    void postAfter(int ms, std::function<void()> fn) override {
        waitsAsked.push_back(ms);
        post(std::move(fn));
    }
    void startThread(std::function<void()> fn) override;
    bool realThreads() const override { return false; }

    // Runs what was posted, as the main thread's message loop would.
    void runPosted();

    std::string exePath = "C:\\Program Files\\RuzoriZE3\\RuzoriZE3.exe";
    std::set<std::string> events;              // named events of every process
    std::map<std::string, std::uint32_t> registry;
    std::vector<std::uint32_t> activated;
    std::string commandLine;  // the paths given, joined by "\r\n"
    std::string currentFolder = "C:\\Users\\user";
    std::map<std::uint32_t, std::string> handedOver;  // what each window was sent
    int refusedHandOvers = 0;  // the running instance is too busy to take this many
    int quitCode = -1, exitCode = -1;
    std::atomic<std::uint64_t> now{1000};
    std::mutex postMutex;  // a verifying job posts from two threads
    std::deque<std::function<void()>> posted;
    std::vector<int> waitsAsked;  // by postAfter, in ms
    // Threads run at once on the caller unless a test holds them to run later.
    bool holdThreads = false;
    std::deque<std::function<void()>> threads;
};

#pragma once
#include <windows.h>

#include <deque>
#include <mutex>

#include "platform/system.h"

// Posted to the main window: lParam is the WinSystem whose queued work the handler runs.
constexpr UINT WM_RUN_POSTED = WM_APP + 1;

class WinSystem : public System {
public:
    std::string programPath() override;
    bool createInstanceEvent(const std::string& name) override;
    std::uint32_t readInstanceWindow(const std::string& name) override;
    void writeInstanceWindow(const std::string& name, std::uint32_t window) override;
    void deleteInstanceWindow(const std::string& name) override;
    void activateWindow(std::uint32_t window) override;
    std::string commandLinePaths() override;               // handover_win.cpp
    bool handOverPaths(std::uint32_t window, const std::string& paths) override;  // handover_win.cpp
    std::string fullPath(const std::string& path) override;
    void quit(int code) override;
    void exitProcess(int code) override;
    std::uint64_t tickMs() override;
    std::int64_t localFileTime(std::int64_t utc) override;
    void sleepMs(int ms) override;
    void post(std::function<void()> fn) override;
    void postAfter(int ms, std::function<void()> fn) override;
    void startThread(std::function<void()> fn) override;
    // Runs the queued work, on the main thread, when WM_RUN_POSTED arrives.
    void runPosted();

private:
    void wake();
    std::function<void()> nextPosted();

    struct Later {
        std::uint64_t due;  // ms
        std::function<void()> fn;
    };

    HANDLE instanceEvent_ = nullptr;  // held for the life of the process
    std::mutex postMutex_;
    std::deque<std::function<void()>> posted_;
    std::deque<Later> later_;  // in order, each run when its time has come
    bool wakePosted_ = false;  // one WM_RUN_POSTED at a time carries the whole queue
};

// A window handle kept as 32 bits comes back sign-extended, as handles are shared with 32-bit code.
inline HWND WindowFromValue(std::uint32_t v) {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<std::int32_t>(v)));
}
inline std::uint32_t ValueFromWindow(HWND h) {
    return static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(h));
}

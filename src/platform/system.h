#pragma once
// Process-wide services: the instance markers, the clock, threads.
#include <cstdint>
#include <functional>
#include <string>

class System {
public:
    virtual ~System() = default;

    // Full path of the running executable.
    virtual std::string programPath() = 0;

    // Creates the named event that marks a running instance and holds it until the
    // process ends; false when it existed already, as another instance holds it.
    // One call, so two starts at the same moment cannot both see it missing.
    virtual bool createInstanceEvent(const std::string& name) = 0;
    // The current user's registry value holding the running instance's window.
    virtual std::uint32_t readInstanceWindow(const std::string& name) = 0;  // 0 when missing
    virtual void writeInstanceWindow(const std::string& name, std::uint32_t window) = 0;
    virtual void deleteInstanceWindow(const std::string& name) = 0;
    // Restores a window of another process from minimised and activates it.
    virtual void activateWindow(std::uint32_t window) = 0;

    // The paths given on the command line, joined by "\r\n"; "" when there are none.
    virtual std::string commandLinePaths() = 0;
    // Sends paths ("\r\n" between them) to the running instance's main window; false when
    // it took none.
    virtual bool handOverPaths(std::uint32_t window, const std::string& paths) = 0;
    // The path made whole and plain as the system opens it: resolved against this process's
    // current folder, "/" turned into "\", "." and ".." resolved, a final dot or blank
    // dropped. The path as given when the system cannot resolve it.
    virtual std::string fullPath(const std::string& path) = 0;

    // Ends the message loop; the windows are destroyed and the process exits with code.
    virtual void quit(int code) = 0;
    // Ends the process at once (a second instance that must not show anything).
    virtual void exitProcess(int code) = 0;

    virtual std::uint64_t tickMs() = 0;
    // A file time (100 ns steps since 1601, UTC) as the user's clock showed it then.
    virtual std::int64_t localFileTime(std::int64_t utc) = 0;
    virtual void sleepMs(int ms) = 0;

    // Runs fn on the main thread, later, in order.
    virtual void post(std::function<void()> fn) = 0;
    // Runs fn on the main thread no sooner than ms from now; a post made meanwhile may run first.
    virtual void postAfter(int ms, std::function<void()> fn) = 0;
    virtual void startThread(std::function<void()> fn) = 0;
    // False where threads are simulated: work meant for a second thread then runs on the
    // caller's, in an order that repeats.
    virtual bool realThreads() const { return true; }
};

#include "platform/win32/win_system.h"

#include <thread>

#include "platform/win32/wide_text.h"
#include "platform/win32/win_ui.h"

namespace {

constexpr const char* kInstanceKey = "Software\\RuzoriZE3";

}  // namespace

std::string WinSystem::programPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) return Narrow(path.substr(0, n));
        path.resize(path.size() * 2);
    }
}

// A failed create counts as the first instance, so start-up goes on without the marker,
// unless the event is there but out of reach (an instance running as administrator).
bool WinSystem::createInstanceEvent(const std::string& name) {
    HANDLE h = CreateEventA(nullptr, FALSE, FALSE, name.c_str());
    if (!h) return GetLastError() != ERROR_ACCESS_DENIED;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return false;
    }
    instanceEvent_ = h;
    return true;
}

std::uint32_t WinSystem::readInstanceWindow(const std::string& name) {
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, kInstanceKey, name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return 0;
    return value;
}

void WinSystem::writeInstanceWindow(const std::string& name, std::uint32_t window) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kInstanceKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    const DWORD value = window;
    RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

void WinSystem::deleteInstanceWindow(const std::string& name) {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kInstanceKey, name.c_str());
}

void WinSystem::activateWindow(std::uint32_t window) {
    HWND h = WindowFromValue(window);
    if (!IsWindow(h)) return;
    OpenIcon(h);
    SetForegroundWindow(h);
}

std::string WinSystem::fullPath(const std::string& path) {
    const std::wstring given = Wide(path);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) return path;
        if (n < full.size()) return Narrow(std::wstring_view(full).substr(0, n));
        full.resize(n);
    }
}

void WinSystem::quit(int code) { PostQuitMessage(code); }
void WinSystem::exitProcess(int code) { ExitProcess(static_cast<UINT>(code)); }
std::uint64_t WinSystem::tickMs() { return GetTickCount64(); }

std::int64_t WinSystem::localFileTime(std::int64_t utc) {
    // By the time zone's rules for that date, as Explorer shows it.
    const FILETIME in{static_cast<DWORD>(utc), static_cast<DWORD>(utc >> 32)};
    SYSTEMTIME universal, local;
    FILETIME out;
    if (!FileTimeToSystemTime(&in, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local) ||
        !SystemTimeToFileTime(&local, &out))
        return utc;
    return static_cast<std::int64_t>(out.dwHighDateTime) << 32 | out.dwLowDateTime;
}
void WinSystem::sleepMs(int ms) { Sleep(static_cast<DWORD>(ms)); }

void WinSystem::post(std::function<void()> fn) {
    {
        std::lock_guard lock(postMutex_);
        posted_.push_back(std::move(fn));
        if (wakePosted_) return;
        wakePosted_ = true;
    }
    wake();
}

// The main thread sets the timer when it next runs the queue.
void WinSystem::postAfter(int ms, std::function<void()> fn) {
    {
        std::lock_guard lock(postMutex_);
        later_.push_back({GetTickCount64() + static_cast<std::uint64_t>(ms), std::move(fn)});
        if (wakePosted_) return;
        wakePosted_ = true;
    }
    wake();
}

// A full message queue refuses the post but the work stays queued: a worker waits for
// room, the main thread leaves it to the next post, as it is without a main window.
void WinSystem::wake() {
    HWND main = TheUi().window(Wnd::Main);
    const bool onMainThread = GetWindowThreadProcessId(main, nullptr) == GetCurrentThreadId();
    while (!IsWindow(main) || !PostMessageA(main, WM_RUN_POSTED, 0, reinterpret_cast<LPARAM>(this))) {
        if (onMainThread || !IsWindow(main)) {
            std::lock_guard lock(postMutex_);
            wakePosted_ = false;
            return;
        }
        Sleep(10);
    }
}

// One closure at a time from the shared queue: when one pumps messages, the nested run
// goes on with the oldest waiting work, so nothing overtakes what was posted before it.
void WinSystem::runPosted() {
    {
        std::lock_guard lock(postMutex_);
        wakePosted_ = false;
    }
    while (std::function<void()> fn = nextPosted()) fn();
}

// The oldest posted work, else the first later work whose time has come. Later work still
// to come arms a timer on the main window, whose id is this object.
std::function<void()> WinSystem::nextPosted() {
    std::lock_guard lock(postMutex_);
    std::function<void()> fn;
    const std::uint64_t now = GetTickCount64();
    if (!posted_.empty()) {
        fn = std::move(posted_.front());
        posted_.pop_front();
    } else if (!later_.empty() && later_.front().due <= now) {
        fn = std::move(later_.front().fn);
        later_.pop_front();
    } else if (HWND main = TheUi().window(Wnd::Main); !later_.empty() && main) {
        SetTimer(main, reinterpret_cast<UINT_PTR>(this), static_cast<UINT>(later_.front().due - now),
                 [](HWND window, UINT, UINT_PTR id, DWORD) {
                     KillTimer(window, id);
                     reinterpret_cast<WinSystem*>(id)->runPosted();
                 });
    }
    return fn;
}

void WinSystem::startThread(std::function<void()> fn) { std::thread(std::move(fn)).detach(); }

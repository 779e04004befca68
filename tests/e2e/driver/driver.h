#pragma once
// Shared pieces of ruzdrive, the outside driver the end-to-end scripts use to act on the
// program's windows. Text is handled as UTF-16 inside and printed as UTF-8.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace drive {

// ---- output and arguments (io.cpp)
void out(const std::wstring& line);   // one line on stdout, UTF-8
void err(const std::wstring& line);   // one line on stderr, UTF-8
std::vector<std::wstring> commandLineArgs();
std::optional<long long> parseInt(const std::wstring& s);
std::wstring hex(unsigned long long v);
std::wstring utf8ToWide(const std::string& s);
std::string toUtf8(const std::wstring& w);

// A failed action: printed on stderr and turned into exit code 1.
struct Failure {
    std::wstring message;
};
[[noreturn]] void fail(const std::wstring& message);

// ---- names from ids.h (names.cpp)
enum class Parent { Main, Mini, Progress };
struct ControlRef {
    Parent parent;
    int id;
    std::wstring name;
};
// "按钮_复制", "Ctl::按钮_复制", "ProgressCtl::标签1" or a number.
std::optional<ControlRef> findControl(const std::wstring& name);
// "托盘_退出", "MenuItem::托盘_退出" or a number.
std::optional<int> findMenu(const std::wstring& name);
std::vector<std::wstring> controlNames();
std::vector<std::wstring> menuNames();
std::wstring windowClass(Parent p);

// ---- windows and processes (windows.cpp)
struct Options {
    std::wstring exe;   // only windows of processes with this image name (empty: any)
    DWORD pid = 0;      // only windows of this process (0: any)
};
extern Options g_options;

std::wstring processImageName(DWORD pid);   // file name only, e.g. RuzoriZE3.exe
bool isProgramProcess(DWORD pid);
std::vector<HWND> topWindows(const std::wstring& cls, bool visibleOnly);
HWND findTop(const std::wstring& cls);      // nullptr when none
HWND waitTop(const std::wstring& cls, DWORD timeoutMs);
std::optional<Parent> parseWindowName(const std::wstring& s);
HWND requireWindow(Parent p);
HWND requireControl(const std::wstring& name);
std::wstring className(HWND h);
std::wstring windowText(HWND h);   // WM_GETTEXT, so controls report their live text
LRESULT send(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
void post(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
void sleepMs(DWORD ms);

// ---- memory inside the target process (remote.cpp)
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    void* at(size_t offset = 0) const { return static_cast<char*>(base_) + offset; }
    LPARAM lp(size_t offset = 0) const { return reinterpret_cast<LPARAM>(at(offset)); }
    void write(size_t offset, const void* data, size_t n);
    void read(size_t offset, void* data, size_t n) const;
    std::wstring readString(size_t offset, size_t maxChars) const;

private:
    HANDLE process_ = nullptr;
    void* base_ = nullptr;
    size_t size_ = 0;
};

// Posts a left click (or double click) at a point of a control's client area. Wine will
// not carry WM_NOTIFY between processes, so controls are clicked and send it themselves.
void clickAt(HWND ctl, POINT pt, bool twice = false);
// An item rectangle that a control writes through a RECT pointer (TCM_/LVM_GETITEMRECT).
RECT remoteRect(HWND ctl, UINT msg, WPARAM wp, LONG leftIn = 0);

// ---- verbs: each file adds its own; run() gets the words after the verb and returns the
// exit code (0 done / true, 1 not done / false); a Failure also gives 1.
using Args = std::vector<std::wstring>;
struct Verb {
    const wchar_t* name;
    const wchar_t* usage;
    size_t minArgs;
    int (*run)(const Args&);
};
std::vector<Verb> windowVerbs();    // verbs_windows.cpp
std::vector<Verb> controlVerbs();   // verbs_controls.cpp
std::vector<Verb> listViewVerbs();  // listview.cpp
std::vector<Verb> dialogVerbs();    // dialogs.cpp
std::vector<Verb> trayVerbs();      // tray.cpp
std::vector<Verb> driveVerbs();     // drives.cpp

// Shared argument helpers.
long long intArg(const Args& a, size_t i, const wchar_t* what);
DWORD timeoutArg(const Args& a, size_t i, DWORD fallback);
HWND windowArg(const Args& a, size_t i);   // main | mini | progress

}  // namespace drive

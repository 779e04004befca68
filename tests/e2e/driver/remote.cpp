// Memory inside the program's process, for the messages whose structs carry pointers
// (list view and tab items): the target can only follow its own addresses.
#include "driver.h"

namespace drive {

RemoteBuffer::RemoteBuffer(HWND owner, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(owner, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process_) fail(L"cannot open the target process");
    base_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!base_) {
        CloseHandle(process_);
        fail(L"cannot allocate memory in the target process");
    }
}

RemoteBuffer::~RemoteBuffer() {
    VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    CloseHandle(process_);
}

void RemoteBuffer::write(size_t offset, const void* data, size_t n) {
    SIZE_T done = 0;
    if (offset + n > size_ || !WriteProcessMemory(process_, at(offset), data, n, &done) || done != n)
        fail(L"cannot write to the target process");
}

void RemoteBuffer::read(size_t offset, void* data, size_t n) const {
    SIZE_T done = 0;
    if (offset + n > size_ || !ReadProcessMemory(process_, at(offset), data, n, &done) || done != n)
        fail(L"cannot read from the target process");
}

std::wstring RemoteBuffer::readString(size_t offset, size_t maxChars) const {
    std::wstring s(maxChars, L'\0');
    read(offset, s.data(), maxChars * sizeof(wchar_t));
    s.resize(wcsnlen(s.c_str(), maxChars));
    return s;
}

void clickAt(HWND ctl, POINT pt, bool twice) {
    LPARAM at = MAKELPARAM(pt.x, pt.y);
    post(ctl, WM_LBUTTONDOWN, MK_LBUTTON, at);
    post(ctl, WM_LBUTTONUP, 0, at);
    if (twice) {
        post(ctl, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        post(ctl, WM_LBUTTONUP, 0, at);
    }
}

RECT remoteRect(HWND ctl, UINT msg, WPARAM wp, LONG leftIn) {
    RemoteBuffer mem(ctl, sizeof(RECT));
    RECT r{};
    r.left = leftIn;
    mem.write(0, &r, sizeof r);
    if (!send(ctl, msg, wp, mem.lp())) fail(L"the control gave no item rectangle");
    mem.read(0, &r, sizeof r);
    return r;
}

}  // namespace drive

// The reference for bench/exe_bench.sh: the files of one folder copied into another with
// CopyFileW, the platform's own copy. With --verify each copy is then flushed, read back
// uncached and digested with XXH3-128, one file after the other. Prints the seconds taken.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace {

constexpr DWORD kBlock = 1 << 20;  // a multiple of every sector size

bool FlushAndDigest(const std::wstring& path, char* block) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE || !FlushFileBuffers(h)) return false;
    CloseHandle(h);
    h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                    FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    XXH3_state_t state;
    XXH3_128bits_reset(&state);
    DWORD got = 0;
    bool ok;
    while ((ok = ReadFile(h, block, kBlock, &got, nullptr)) && got > 0) XXH3_128bits_update(&state, block, got);
    CloseHandle(h);
    volatile XXH64_hash_t keep = XXH3_128bits_digest(&state).low64;
    (void)keep;
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const bool verify = argc == 4 && std::wstring(argv[1]) == L"--verify";
    if (argc != 3 + verify) {
        std::fprintf(stderr, "usage: refcopy [--verify] SOURCE_FOLDER DEST_FOLDER\n");
        return 2;
    }
    const std::wstring from = std::wstring(argv[1 + verify]) + L"\\", to = std::wstring(argv[2 + verify]) + L"\\";
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((from + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 1;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);

    char* block = static_cast<char*>(VirtualAlloc(nullptr, kBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (const std::wstring& name : names) {
        if (!CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE) ||
            (verify && !FlushAndDigest(to + name, block))) {
            std::fprintf(stderr, "refcopy: failed on %ls\n", name.c_str());
            return 1;
        }
    }
    QueryPerformanceCounter(&end);
    std::printf("%.3f\n", static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
    return 0;
}

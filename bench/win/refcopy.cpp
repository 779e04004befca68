// The reference for bench/exe_bench.sh: the files of one folder copied into another with
// CopyFileW, the platform's own copy. With --verify each copy is then flushed, read back
// uncached and digested with XXH3-128, one file after the other. Prints the seconds taken.
// With --walk it only gathers the paths and sizes below a folder with FindFirstFileW, the
// reference for the program's intake of a folder.
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

// Every file below folder, with its size, as the program needs it for a row.
void Walk(const std::wstring& folder, std::vector<std::pair<std::wstring, ULONGLONG>>& files) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Walk(folder + L"\\" + name, files);
        else files.push_back({folder + L"\\" + name, (ULONGLONG(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

double Seconds(const LARGE_INTEGER& start) {
    LARGE_INTEGER frequency, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"--walk") {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        std::vector<std::pair<std::wstring, ULONGLONG>> files;
        Walk(argv[2], files);
        std::printf("%.3f %zu\n", Seconds(start), files.size());
        return 0;
    }
    const bool verify = argc == 4 && std::wstring(argv[1]) == L"--verify";
    if (argc != 3 + verify) {
        std::fprintf(stderr, "usage: refcopy [--verify] SOURCE_FOLDER DEST_FOLDER | --walk FOLDER\n");
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
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    for (const std::wstring& name : names) {
        if (!CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE) ||
            (verify && !FlushAndDigest(to + name, block))) {
            std::fprintf(stderr, "refcopy: failed on %ls\n", name.c_str());
            return 1;
        }
    }
    std::printf("%.3f\n", Seconds(start));
    return 0;
}

// Dropping a folder of 10,000 files: how long the list takes to fill and the longest
// stretch without pending events, against the bare walk of the same folder, on the
// in-memory file system and on real files in a temp folder.
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/events.h"
#include "copylist/folderwalk.h"
#include "platform/sim/sim_platform.h"
#include "posix_files.h"

namespace {

constexpr int kFiles = 10000;
constexpr double kMaxFillMs = 2000, kMaxGapMs = 50;
const char* const kKinds[] = {".mp3", ".avi", ".txt", ".jpg", ".bin"};

// <chrono> cannot be used: its "µs" has no GBK form, and literals here are GBK.
double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The simulated machine, but with the real clock, so the intake paces itself truly.
class RealClock : public SimSystem {
public:
    std::uint64_t tickMs() override { return static_cast<std::uint64_t>(NowMs()); }
};

std::string FileName(int i) { return "第" + std::to_string(i) + "首 track" + kKinds[i % 5]; }

void AddRules(Ui& ui) {
    const char* rules[][2] = {{"*.rm;*.rmvb;*.dat;*.flv;*.wmv;*.avi;*.asf;*.3gp;*.mp4;*.mpg", "\\Video"},
                              {"*.mp3;*.wma;*.wav", "\\music"}, {"*.txt", "\\txt"},
                              {"*.bmp;*.jpg;*.gif", "\\picture"}, {"*.swf", "\\flash"}};
    for (const auto& r : rules) ui.setCell(Ctl::超级列表框_扩展名, ui.appendRow(Ctl::超级列表框_扩展名, r[0], 0), 1, r[1]);
    ui.setChecked(Ctl::选择框_规则, true);
    ui.setText(Ctl::目录框, "J:\\");
}

// Walks J:\drop bare, then drops it on an empty list; prints both and checks the limits.
bool Measure(const char* label, FileSystem& fs) {
    SimUi ui;
    SimFileSystem iniFs;
    IniProfile ini{iniFs};
    RealClock sys;
    SimShell shell;
    App app{ui, fs, ini, sys, shell};
    AddRules(ui);

    double start = NowMs();
    int walked = 0;
    ForEachFileIn(fs, "J:\\drop", [&walked](const std::string&, std::int64_t) { return ++walked > 0; });
    const double walkMs = NowMs() - start;

    // The first stretch holds the one call that lists the folder; the rest is our pacing.
    std::vector<double> gaps;
    double lastPump = 0;
    ui.onPump = [&] {
        gaps.push_back(NowMs() - lastPump);
        lastPump = NowMs();
    };
    start = lastPump = NowMs();
    OnFilesDropped(app, "J:\\drop");
    const double fillMs = NowMs() - start;
    gaps.push_back(NowMs() - lastPump);
    const double firstGapMs = gaps.front();
    const double maxGapMs = *std::max_element(gaps.begin() + 1, gaps.end());

    const int rows = ui.rowCount(Ctl::超级列表框);
    const bool ok = rows == kFiles && fillMs < kMaxFillMs && maxGapMs < kMaxGapMs;
    std::printf("%s: %d files walked, %d rows, %d pauses for pending events\n", label, walked, rows, ui.pumps);
    std::printf("  baseline, bare walk of the folder      %8.1f ms\n", walkMs);
    std::printf("  drop, list filled and one refresh      %8.1f ms  (%.1fx the walk; limit %.0f ms)\n", fillMs,
                fillMs / walkMs, kMaxFillMs);
    std::printf("  first stretch, with the folder listing %8.1f ms\n", firstGapMs);
    std::printf("  longest stretch after it               %8.1f ms  (limit %.0f ms)  %s\n", maxGapMs, kMaxGapMs,
                ok ? "PASS" : "FAIL");
    return ok;
}

}  // namespace

int main() {
    SimFileSystem memory;
    memory.addDrive('J', 64LL << 30, 32LL << 30);
    for (int i = 0; i < kFiles; ++i) memory.addFile("J:\\drop\\" + FileName(i), std::string(i % 4096, 'x'));

    char tmpl[] = "/tmp/intake-bench.XXXXXX";
    const std::filesystem::path root = mkdtemp(tmpl);
    std::filesystem::create_directory(root / "drop");
    for (int i = 0; i < kFiles; ++i) std::ofstream(root / "drop" / FileName(i)) << std::string(i % 4096, 'x');
    PosixFileSystem disk({{'J', root.string()}});

    const bool ok = Measure("in memory", memory) & Measure("real files", disk);
    std::filesystem::remove_all(root);
    return ok ? 0 : 1;
}

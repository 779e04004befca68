#pragma once
// A simulated machine for the copy-job tests: sources on S:, a player on K: with the
// folders \Video, \music and \txt, the target root K:\ and copy method 1.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "copyengine/copyjob.h"
#include "platform/sim/sim_platform.h"
#include "tray/ico.h"

class CopyJobTest : public ::testing::Test {
protected:
    CopyJobTest() {
        sim.fs.addDrive('S', 1LL << 40, 1LL << 30);
        sim.fs.addDrive('K', 8LL << 30, 4LL << 30);
        for (const char* f : {"K:\\Video", "K:\\music", "K:\\txt"}) sim.fs.addFolder(f);
        sim.ui.setText(Ctl::目录框, "K:\\");
        sim.ui.setComboIndex(Ctl::组合框_复制方法, 0);
        sim.ui.loadWindow(Wnd::Mini);
    }

    // A listed file as intake leaves it: the source exists, the sub-path is stored.
    void List(const std::string& source, const std::string& subPath, const std::string& data = "data") {
        sim.fs.addFile(source, data);
        Relist(source, subPath);
    }
    // A row for a file that is there already.
    void Relist(const std::string& source, const std::string& subPath) {
        const int r = sim.ui.appendRow(kList, source, 1);
        sim.ui.setCell(kList, r, 1, "0.001");
        sim.ui.setCell(kList, r, 2, subPath);
        sim.ui.setRowBytes(kList, r, std::max<std::int64_t>(sim.fs.fileSize(source), 0));
    }
    // Runs a job to its end: the worker, then the events it sent to the main thread.
    void Run() {
        StartCopyJob(app);
        sim.sys.runPosted();
    }
    // From inside a fault hook: the main thread catches up with the worker's events.
    void CatchUp() { sim.sys.runPosted(); }
    // Makes fn run once, when the first call of op on path happens.
    void OnFirst(FaultOp op, const std::string& path, std::function<void()> fn) {
        sim.fs.fault = [op, path, fn, done = false](FaultOp o, const std::string& p) mutable {
            if (o == op && p == path && !done) {
                done = true;
                fn();
            }
            return false;
        };
    }

    struct Balloon {
        std::string text;
        unsigned kind;
        bool operator==(const Balloon&) const = default;
    };
    std::vector<Balloon> Balloons() const {
        std::vector<Balloon> out;
        for (const auto& n : sim.shell.notifications)
            if (n.op == TrayOp::Modify && (n.record.uFlags & 0x10)) out.push_back({n.record.szInfo, n.record.dwInfoFlags});
        return out;
    }
    Balloon LastBalloon() const { return Balloons().empty() ? Balloon{} : Balloons().back(); }
    bool Shown(const std::string& text, unsigned kind) const {
        for (const auto& b : Balloons())
            if (b.text == text && b.kind == kind) return true;
        return false;
    }
    // The icon image last handed to the shell, as a size that tells idle from busy.
    std::size_t LastIconSize() const { return sim.shell.iconImageSizes.back(); }
    static std::size_t IconSize(ResourceBytes ico) { return IcoImage(ico, 0).size(); }

    static std::string Copying(const std::string& source) { return "正在复制 " + source + " 请稍候...      "; }
    static std::string Summary(int n, int ok, const std::string& secs) {
        return "共" + std::to_string(n) + "个,成功复制" + std::to_string(ok) + "个,耗时" + secs + "秒";
    }
    static std::string Cancelled(int n, int ok, const std::string& secs) { return Summary(n, ok, secs) + "，已取消"; }
    std::string Status() const { return sim.ui.text(Ctl::标签3); }
    int Rows() const { return sim.ui.rowCount(kList); }
    int Overall() const { return sim.ui.progressPos(Ctl::进度条1); }

    static constexpr Ctl kList = Ctl::超级列表框;
    SimPlatform sim;
    App& app = sim.app;
};

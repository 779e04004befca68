#pragma once
// A simulated machine for the copy-list tests: drive J:, the default rules in the rule
// list, rules switched on, and the target root on J:.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"

// A file system on which reading each file's size takes msPerFile of simulated time.
class SlowFileSystem : public SimFileSystem {
public:
    SlowFileSystem(SimSystem& sys, int msPerFile) : sys_(sys), msPerFile_(msPerFile) {}
    std::int64_t fileSize(const std::string& path) override {
        sys_.now += msPerFile_;
        if (onFile) onFile();
        return SimFileSystem::fileSize(path);
    }
    std::function<void()> onFile;
    // A listing without sizes, so that each file is looked at on its own.
    std::vector<DirEntry> listFolder(const std::string& folder) override {
        auto entries = SimFileSystem::listFolder(folder);
        for (auto& e : entries) e.bytes = -1;
        return entries;
    }

private:
    SimSystem& sys_;
    int msPerFile_;
};

class CopyListTest : public ::testing::Test {
protected:
    CopyListTest() {
        sim.fs.addDrive('J', 8LL << 30, 4LL << 30);
        slowFs.addDrive('J', 8LL << 30, 4LL << 30);
        const char* rules[][2] = {
            {"*.rm;*.rmvb;*.dat;*.flv;*.wmv;*.avi;*.asf;*.3gp;*.mp4;*.mpg", "\\Video"},
            {"*.mp3;*.wma;*.wav", "\\music"},
            {"*.txt", "\\txt"},
            {"*.bmp;*.jpg;*.gif", "\\picture"},
            {"*.swf", "\\flash"},
        };
        for (const auto& r : rules) sim.ui.setCell(kRules, sim.ui.appendRow(kRules, r[0], 0), 1, r[1]);
        sim.ui.setChecked(Ctl::选择框_规则, true);
        sim.ui.setText(Ctl::目录框, "J:\\");
    }

    // One row of the copy list as "path|size|sub-path|image".
    std::string Row(int r) const {
        const auto& ui = sim.ui;
        return ui.cell(kList, r, 0) + "|" + ui.cell(kList, r, 1) + "|" + ui.cell(kList, r, 2) + "|" +
               std::to_string(ui.rowImage(kList, r));
    }
    std::vector<std::string> Paths() const { return sim.ui.column0(kList); }
    int Rows() const { return sim.ui.rowCount(kList); }
    std::string Caption() const { return sim.ui.text(Ctl::标签_显示大小); }

    // The balloons shown so far: their text and icon kind.
    struct Balloon {
        std::string text;
        unsigned kind;
    };
    std::vector<Balloon> Balloons() const {
        std::vector<Balloon> out;
        for (const auto& n : sim.shell.notifications)
            if (n.op == TrayOp::Modify && (n.record.uFlags & 0x10)) out.push_back({n.record.szInfo, n.record.dwInfoFlags});
        return out;
    }

    static constexpr Ctl kList = Ctl::超级列表框;
    static constexpr Ctl kRules = Ctl::超级列表框_扩展名;
    SimPlatform sim;
    App& app = sim.app;
    SlowFileSystem slowFs{sim.sys, 10};
    App slow{sim.ui, slowFs, sim.ini, sim.sys, sim.shell};  // the same machine, with slow files
};

#pragma once
// The program's context: the platform it runs on and the state its handlers share.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/shell.h"
#include "platform/profile.h"
#include "platform/system.h"
#include "platform/ui.h"

struct TrayState;
struct CopyJobState;

struct App {
    App(Ui&, FileSystem&, Profile&, System&, Shell&);

    Ui& ui;
    FileSystem& fs;
    Profile& ini;
    System& sys;
    Shell& shell;

    std::string instanceName;  // the executable's file name
    std::string settingsPath;  // program folder + "mp4.ini"
    int exitRequested = 0;
    // Folder intakes in progress (a drop during one nests); 复制 meanwhile waits for them.
    int intakeDepth = 0;
    bool copyAfterIntake = false;
    bool exitAfterJob = false;  // an exit waits for the copy job to end
    std::string removableSeen;  // the removable drives at the last look, by letter
    // Why the file of a failed row did not arrive, by path: the job writes it, the list
    // forgets it with the row.
    std::map<std::string, std::string> failureReasons;
    // Written by Cancel on the main thread, read by the copy worker.
    std::atomic<int> copyBusy{0};

    std::shared_ptr<TrayState> tray;
    std::shared_ptr<CopyJobState> job;

    // What follows when a feature has finished something; app.cpp decides, so the
    // features never call up into app/.
    std::function<void(App&)> intakeDone;  // the last folder intake has ended
    std::function<void(App&)> jobEnded;    // the copy job has ended, its rows settled
};

// The program title: main window caption, tray tip and every balloon's title.
inline constexpr const char* kProgramTitle = "RuzoriZE3视频复制工具 0.4.4 (Kestrin 2008.8.24)";

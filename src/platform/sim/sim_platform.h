#pragma once
// A whole simulated machine with the program's context on it.
#include "app/app.h"
#include "platform/sim/sim_files.h"
#include "platform/ini_profile.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_ui.h"

struct SimPlatform {
    SimUi ui;
    SimFileSystem fs;
    IniProfile ini{fs};
    SimSystem sys;
    SimShell shell;
    App app{ui, fs, ini, sys, shell};
};

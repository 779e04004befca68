#pragma once
// A real main window whose handlers run against the simulated file system and shell.
#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"
#include "platform/win32/win_ui.h"

struct RealWindow : ::testing::Test {
    SimPlatform sim;
    WinUi ui;
    App app{ui, sim.fs, sim.ini, sim.sys, sim.shell};
    HWND main = nullptr;

    void SetUp() override {
        BindApp(app, ui);
        main = ui.createMainWindow(GetModuleHandleA(nullptr));
        ASSERT_TRUE(main);
    }
    void TearDown() override {
        app.exitRequested = 1;
        DestroyWindow(main);
        MSG m;  // the destroyed window asked to end the loop; this test has none
        while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};

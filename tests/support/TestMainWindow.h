#pragma once

#include "TestProgram.h"
#include "frmMain.h"

// A program in a temporary directory and its main window, on the test desktop.
struct TestMainWindow : TestProgram
{
    frmMain window{program};
    bool showWindow() { window.show(); return QTest::qWaitForWindowExposed(&window); }
};

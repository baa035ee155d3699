#pragma once

class QWidget;

// For the start-up benchmark: when the environment variable
// TARDELLO_MAPPED_REPORT names a file, the process's CPU time (every thread,
// ended ones included) and its peak memory so far are written there the
// moment `window` is first exposed on the screen. Without it, or on a system
// other than Linux, nothing happens.
void ReportWhenMapped(QWidget &window);

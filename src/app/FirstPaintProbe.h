#pragma once

// For start-up benchmarks: when QUORVANE_FIRST_PAINT_FD names an open descriptor, one
// byte is written to it once the first window has been painted and flushed, and the
// descriptor is closed. Without the variable nothing is installed. Needs a QApplication.
void InstallFirstPaintProbe();

#pragma once

#include <functional>

class QObject;

// Runs `action` once, as soon as a top-level window among `watched` (a window, or qApp for
// any window) has been painted for the first time and that paint has been flushed.
void AfterFirstPaint(QObject& watched, std::function<void()> action);

// For start-up benchmarks: when QUORVANE_FIRST_PAINT_FD names an open descriptor, one
// byte is written to it once the first window has been painted and flushed, and the
// descriptor is closed. Without the variable nothing is installed. Needs a QApplication.
void InstallFirstPaintProbe();

#pragma once

class QObject;

// For benchmarks: when QUORVANE_CLIPBOARD_STALL_FD names an open descriptor, every change
// of the clipboard writes one line to it, the microseconds the UI thread spent from the
// change signal's delivery until its event loop was next about to wait for events. Installed
// before the window exists, so that it is connected first and the window's own handler runs
// inside the time; it lives as long as `context`. Without the variable nothing is installed.
void InstallClipboardStallProbe(QObject& context);

#pragma once

class QObject;

// For benchmarks: when QUORVANE_CLIPBOARD_STALL_FD names an open descriptor, every change
// of the clipboard writes one line to it, the microseconds the UI thread spent from the
// change signal's delivery until its event loop was next about to wait for events. Called
// before `window` connects its own handler to the signal, so that handler's work is inside
// the time. Without the variable nothing is installed.
void InstallClipboardStallProbe(QObject& window);

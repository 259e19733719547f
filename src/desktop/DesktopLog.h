#pragma once

#include <QLoggingCategory>

// Failures of the desktop services that the user never sees: the hand-off between copies,
// the instance channel, writing the settings. Off by default; switch on with
// QT_LOGGING_RULES="quorvane.desktop.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)

#pragma once

#include <QLoggingCategory>

// Failures of the hand-off between copies that the user never sees: the channel's folder
// and socket, hand-offs dropped, refused or unanswered. Off by default; switch on with
// QT_LOGGING_RULES="quorvane.handoff.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcHandOff)

#pragma once

#include <QLoggingCategory>

// Failures of the language files that nobody sees otherwise: a file refused or cut
// short, and why. Off by default; switch on with
// QT_LOGGING_RULES="quorvane.localisation.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcLocalisation)

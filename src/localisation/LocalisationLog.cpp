#include "localisation/LocalisationLog.h"

Q_LOGGING_CATEGORY(lcLocalisation, "quorvane.localisation", QtWarningMsg)

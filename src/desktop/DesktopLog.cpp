#include "desktop/DesktopLog.h"

Q_LOGGING_CATEGORY(lcDesktop, "quorvane.desktop", QtWarningMsg)

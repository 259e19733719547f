#include "handoff/HandOffLog.h"

Q_LOGGING_CATEGORY(lcHandOff, "quorvane.handoff", QtWarningMsg)

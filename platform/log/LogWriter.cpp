#include "platform/log/LogWriter.h"

std::atomic<ILogWriter*> g_pLogDlg{nullptr};

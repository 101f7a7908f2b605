// The log window's writer interface. comm/ and camera/ write their records through it without
// knowing what shows them: the GUI's log window, vireoctl's standard error, or a test recorder.
#pragma once

#include <atomic>

class ILogWriter {
public:
    virtual ~ILogWriter() = default;
    // One communication-log line (a "SEND: ", "RCV : " or "STAT: " record). May be called from
    // the RS-232C event thread as well as the user-interface thread.
    virtual int AddCommLog(const char* text) = 0;
    // One sequence-log line (one per register-map operation).
    virtual int AddSeqLog(const char* text) = 0;
};

// The one log window; null until it exists. Every writer tests it first.
extern std::atomic<ILogWriter*> g_pLogDlg;

// The log window: the communication log and the sequence log on two tabs, each of which can be
// cleared and saved as a text file. It has no close box and ignores Return and Escape, so it
// stays for the whole run; the main view creates and deletes it.
#pragma once

#include "app/LogTab.h"
#include "platform/log/LogWriter.h"
#include "platform/ui/Dialog.h"

#include <chrono>
#include <mutex>
#include <optional>
#include <string>

class CLogDlg : public ui::Dialog, public ILogWriter {
public:
    CLogDlg();
    ~CLogDlg() override;

    // One line each; any thread. Return 0.
    int AddCommLog(const char* text) override;
    int AddSeqLog(const char* text) override;

    // Whether each record is written with its local time and the time since the tab's previous
    // record; the choice is stored. Any thread may ask.
    void SetTimeStamps(bool on);
    bool TimeStamps() const;
    // "hh:mm:ss.mmm +s.mmm " for a record at local time now that came sinceLast after the
    // previous one (none: +0.000).
    static std::string TimeStamp(std::chrono::system_clock::time_point now,
                                 std::chrono::steady_clock::duration sinceLast);

    CLogTabComm m_tabComm;
    CLogTabSeq m_tabSeq;
    ui::TabCtrl m_tab;
    int m_nSaveCount = 0; // appended to the proposed file name; one for both tabs

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnOK() override {}
    void OnCancel() override {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTabSelChange();
    void OnClear();
    void OnSave();
    void OnTimeStamps();
    // The record as the tab takes it: with its time stamp when they are on.
    std::string Stamped(int tab, const char* text);

    mutable std::mutex m_stampMutex;
    bool m_timeStamps = false;                                      // guarded
    std::optional<std::chrono::steady_clock::time_point> m_last[2]; // guarded; per tab
};

// The log window: the communication log and the sequence log on two tabs, each of which can be
// cleared and saved as a text file. It has no close box and ignores Return and Escape, so it
// stays for the whole run; the main view creates and deletes it.
#pragma once

#include "app/LogTab.h"
#include "platform/log/LogWriter.h"
#include "platform/ui/Dialog.h"

class CLogDlg : public ui::Dialog, public ILogWriter {
public:
    CLogDlg();
    ~CLogDlg() override;

    // One line each; any thread. Return 0.
    int AddCommLog(const char* text) override;
    int AddSeqLog(const char* text) override;

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
};

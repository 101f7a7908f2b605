// The log window: the communication log and the sequence log on two tabs, each of which can be
// cleared and saved as a text file. It ignores Return and Escape; closing it only hides it, its
// records go on being kept, and the main window's menu shows it again. The main view creates and
// deletes it.
#pragma once

#include "app/LogTab.h"
#include "platform/log/LogWriter.h"
#include "platform/ui/Dialog.h"

#include <string>

class CLogDlg : public ui::Dialog, public ILogWriter {
public:
    CLogDlg();
    ~CLogDlg() override;

    // One line each; any thread. Return 0.
    int AddCommLog(const char* text) override;
    int AddSeqLog(const char* text) override;

    // Whether each record is shown with its local time and the time since the tab's previous
    // record, every record kept included; the choice is stored. Any thread may ask.
    void SetTimeStamps(bool on);
    bool TimeStamps() const;

    // The smallest size the window takes, in dialog units: its edit box keeps a few lines and
    // "Save" stays clear of "Time".
    static constexpr int kMinimumWidth = 138;
    // The row of buttons below the logs, in dialog units: their width as designed and when
    // narrowed, and the room at the edges and between them.
    static constexpr int kButtonWidth = 50;
    static constexpr int kButtonMinimum = 30;
    static constexpr int kButtonMargin = 7;
    static constexpr int kMinimumHeight = 101;

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
    // The close box and the window manager's close hide the window.
    void closeEvent(QCloseEvent* event) override;
    // The tab control takes the room the buttons below it leave.
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnTabSelChange();
    void OnClear();
    void OnSave();
    void OnTimeStamps();
    void LayOut();
};

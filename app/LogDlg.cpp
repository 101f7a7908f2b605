#include "app/LogDlg.h"

#include "app/WindowSettings.h"
#include "camera/settings/AtomicFile.h"
#include "platform/profile/Profile.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/ui/SaveFileDialog.h"
#include "res/Resource.h"

#include <QApplication>
#include <QKeyEvent>

#include <cstdio>
#include <ctime>

CLogDlg::CLogDlg() : ui::Dialog(IDD_LOG)
{
    OnSelChange(IDC_TAB_LOG, [this] { OnTabSelChange(); });
    OnClicked(IDC_BUTTON_LOG_CLS, [this] { OnClear(); });
    OnClicked(IDC_BUTTON_LOG_SAVE, [this] { OnSave(); });
    OnClicked(IDC_CHECK_LOG_TIME, [this] { OnTimeStamps(); });
}

CLogDlg::~CLogDlg() = default;

void CLogDlg::DoDataExchange(ui::DataExchange& dx)
{
    dx.Control(IDC_TAB_LOG, m_tab);
}

bool CLogDlg::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    m_tabComm.Create(m_tab.Widget());
    m_tabSeq.Create(m_tab.Widget());
    m_tab.InsertItem(0, "Com");
    m_tab.InsertItem(1, "Seq");
    m_tabComm.MoveWindow(1, 2);
    m_tabSeq.MoveWindow(1, 2);
    m_tabComm.ShowWindow(true);
    const bool stamps = profile::GetProfileInt(kWindowSection, kLogTimeStampsEntry, 0) == 1;
    {
        const std::lock_guard lock(m_stampMutex);
        m_timeStamps = stamps;
    }
    CheckDlgButton(IDC_CHECK_LOG_TIME, stamps ? 1 : 0);
    // Return and Escape are taken from every control of this window before they act.
    qApp->installEventFilter(this);
    return true;
}

int CLogDlg::AddCommLog(const char* text)
{
    m_tabComm.AppendLine(Stamped(0, text).c_str());
    return 0;
}

int CLogDlg::AddSeqLog(const char* text)
{
    m_tabSeq.AppendLine(Stamped(1, text).c_str());
    return 0;
}

void CLogDlg::SetTimeStamps(bool on)
{
    {
        const std::lock_guard lock(m_stampMutex);
        m_timeStamps = on;
        // The first stamped record has no predecessor to count from.
        m_last[0].reset();
        m_last[1].reset();
    }
    if (IsDlgButtonChecked(IDC_CHECK_LOG_TIME) != (on ? 1 : 0))
        CheckDlgButton(IDC_CHECK_LOG_TIME, on ? 1 : 0);
    profile::WriteProfileInt(kWindowSection, kLogTimeStampsEntry, on ? 1 : 0);
}

bool CLogDlg::TimeStamps() const
{
    const std::lock_guard lock(m_stampMutex);
    return m_timeStamps;
}

void CLogDlg::OnTimeStamps()
{
    SetTimeStamps(IsDlgButtonChecked(IDC_CHECK_LOG_TIME) == 1);
}

std::string CLogDlg::TimeStamp(std::chrono::system_clock::time_point now,
                               std::chrono::steady_clock::duration sinceLast)
{
    using namespace std::chrono;
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    const auto gap = duration_cast<milliseconds>(sinceLast).count();
    char text[64];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d +%lld.%03lld ", local.tm_hour,
                  local.tm_min, local.tm_sec, static_cast<int>(ms < 0 ? ms + 1000 : ms),
                  static_cast<long long>(gap / 1000), static_cast<long long>(gap % 1000));
    return text;
}

std::string CLogDlg::Stamped(int tab, const char* text)
{
    const auto steadyNow = std::chrono::steady_clock::now();
    const auto now = std::chrono::system_clock::now();
    std::chrono::steady_clock::duration since{};
    {
        const std::lock_guard lock(m_stampMutex);
        if (!m_timeStamps)
            return text;
        if (m_last[tab])
            since = steadyNow - *m_last[tab];
        m_last[tab] = steadyNow;
    }
    return TimeStamp(now, since) + text;
}

bool CLogDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        auto* widget = qobject_cast<QWidget*>(watched);
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool swallowed =
            key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
        if (swallowed && widget && widget->window() == this) {
            event->accept();
            return true;
        }
    }
    return ui::Dialog::eventFilter(watched, event);
}

void CLogDlg::OnTabSelChange()
{
    m_tabComm.ShowWindow(false);
    m_tabSeq.ShowWindow(false);
    switch (m_tab.GetCurSel()) {
    case 0:
        m_tabComm.ShowWindow(true);
        break;
    case 1:
        m_tabSeq.ShowWindow(true);
        break;
    default:
        break;
    }
}

void CLogDlg::OnClear()
{
    switch (m_tab.GetCurSel()) {
    case 0:
        m_tabComm.Clear();
        break;
    case 1:
        m_tabSeq.Clear();
        break;
    default:
        break;
    }
}

void CLogDlg::OnSave()
{
    const CLogTab* tab = nullptr;
    const char* base = nullptr;
    switch (m_tab.GetCurSel()) {
    case 0:
        tab = &m_tabComm;
        base = "CommLog";
        break;
    case 1:
        tab = &m_tabSeq;
        base = "SeqLog";
        break;
    default:
        return;
    }
    // The file holds the text and its terminating zero byte.
    const std::string text = tab->Text();
    char name[32];
    std::snprintf(name, sizeof name, "%s%d", base, m_nSaveCount);

    ui::SaveFileRequest request;
    request.defaultExtension = "txt";
    request.proposedName = name;
    request.filter = "Text(*.txt)|*.txt|";
    request.overwritePrompt = true;
    request.hideReadOnly = true;
    request.folder = StoredFolder(kLogFolderEntry);
    const std::optional<std::string> path = ui::AskSaveFileName(this, request);
    if (!path)
        return;
    StoreFolderOf(kLogFolderEntry, *path);
    ++m_nSaveCount;

    // Written beside the target and renamed over it, so a failed save leaves an existing file
    // as it was; a device, FIFO or folder of that name is refused.
    std::string reason;
    if (!WriteFileAtomically(*path, std::string(text.c_str(), text.size() + 1), reason)) {
        ShowMessageBox(*path + " could not be saved.\n" + reason, "VireoStudio", MsgIcon::Error);
    }
}

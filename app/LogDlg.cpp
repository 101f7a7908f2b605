#include "app/LogDlg.h"

#include "app/WindowSettings.h"
#include "platform/files/AtomicFile.h"
#include "platform/profile/Profile.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/ui/SaveFileDialog.h"
#include "res/Resource.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QResizeEvent>

#include <algorithm>
#include <cstdio>

CLogDlg::CLogDlg() : ui::Dialog(IDD_LOG)
{
    SetResizeRule(Resize::Stretch);
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
    // The tab control and the logs have no caption of their own to be found by.
    m_tab.Widget()->setAccessibleName(QStringLiteral("Logs"));
    m_tabComm.GetDlgItem(IDC_EDIT_COMM_LOG)->setAccessibleName(QStringLiteral("Com log"));
    m_tabSeq.GetDlgItem(IDC_EDIT_SEQ_LOG)->setAccessibleName(QStringLiteral("Seq log"));
    m_tabComm.MoveWindow(1, 2);
    m_tabSeq.MoveWindow(1, 2);
    m_tabComm.ShowWindow(true);
    const bool stamps = profile::GetProfileInt(kWindowSection, kLogTimeStampsEntry, 0) == 1;
    m_tabComm.SetStamped(stamps);
    m_tabSeq.SetStamped(stamps);
    CheckDlgButton(IDC_CHECK_LOG_TIME, stamps ? 1 : 0);
    setMinimumSize(Units().ToPixelsX(kMinimumWidth), Units().ToPixelsY(kMinimumHeight));
    LayOut();
    // Return and Escape are taken from every control of this window before they act.
    qApp->installEventFilter(this);
    return true;
}

int CLogDlg::AddCommLog(const char* text)
{
    m_tabComm.AppendLine(text);
    return 0;
}

int CLogDlg::AddSeqLog(const char* text)
{
    m_tabSeq.AppendLine(text);
    return 0;
}

void CLogDlg::SetTimeStamps(bool on)
{
    m_tabComm.SetStamped(on);
    m_tabSeq.SetStamped(on);
    if (IsDlgButtonChecked(IDC_CHECK_LOG_TIME) != (on ? 1 : 0))
        CheckDlgButton(IDC_CHECK_LOG_TIME, on ? 1 : 0);
    profile::WriteProfileInt(kWindowSection, kLogTimeStampsEntry, on ? 1 : 0);
}

bool CLogDlg::TimeStamps() const
{
    return m_tabComm.Stamped();
}

void CLogDlg::OnTimeStamps()
{
    SetTimeStamps(IsDlgButtonChecked(IDC_CHECK_LOG_TIME) == 1);
}

void CLogDlg::closeEvent(QCloseEvent* event)
{
    hide();
    event->accept();
}

void CLogDlg::resizeEvent(QResizeEvent* event)
{
    ui::Dialog::resizeEvent(event);
    LayOut();
}

void CLogDlg::LayOut()
{
    QWidget* tab = GetDlgItem(IDC_TAB_LOG);
    QWidget* cls = GetDlgItem(IDC_BUTTON_LOG_CLS);
    QWidget* time = GetDlgItem(IDC_CHECK_LOG_TIME);
    QWidget* save = GetDlgItem(IDC_BUTTON_LOG_SAVE);
    const ui::DialogTemplate* tmpl = Template();
    if (!tab || !cls || !time || !save || !tmpl)
        return;
    // The tab control and its pages take what the row of buttons leaves; the row keeps its
    // distance to the bottom edge, "CLS" and "Time" on the left, "Save" on the right. In a
    // narrow window the buttons narrow first, so that nothing lies over "Time".
    const QSize designed = Units().ToPixels(tmpl->rect).size();
    const QSize delta = size() - designed;
    const int margin = Units().ToPixelsX(kButtonMargin);
    const int room = width() - 4 * margin - time->width();
    const int button =
        std::clamp(room / 2, Units().ToPixelsX(kButtonMinimum), Units().ToPixelsX(kButtonWidth));
    for (const ui::ControlTemplate& c : tmpl->controls) {
        QWidget* control = GetDlgItem(c.id);
        const QRect at = Units().ToPixels(c.rect);
        const int y = at.y() + delta.height();
        if (control == tab)
            control->setGeometry(QRect(at.topLeft(), at.size() + delta));
        else if (control == cls)
            control->setGeometry(margin, y, button, control->height());
        else if (control == time)
            control->move(2 * margin + button, y);
        else if (control == save)
            control->setGeometry(width() - margin - button, y, button, control->height());
    }
    // The pages stand 1 pixel from the left and 2 from the top of the tab control's display.
    const QRect pages = m_tab.DisplayRect().adjusted(1, 2, -1, 0);
    for (CLogTab* page : {static_cast<CLogTab*>(&m_tabComm), static_cast<CLogTab*>(&m_tabSeq)})
        if (page->IsCreated())
            page->setGeometry(pages);
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

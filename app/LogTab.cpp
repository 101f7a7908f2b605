#include "app/LogTab.h"

#include "res/Resource.h"

#include <QPlainTextEdit>
#include <QThread>

#include <cstring>

CLogTab::CLogTab(int templateId, int editId) : ui::Dialog(templateId), m_editId(editId) {}

CLogTabComm::CLogTabComm() : CLogTab(IDD_LOG_COMM, IDC_EDIT_COMM_LOG) {}

CLogTabSeq::CLogTabSeq() : CLogTab(IDD_LOG_SEQ, IDC_EDIT_SEQ_LOG) {}

bool CLogTab::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    // Lines may have come before the window existed.
    ShowText();
    return true;
}

void CLogTab::AppendLine(const char* text)
{
    const std::size_t length = strnlen(text, kLineMax);
    {
        std::lock_guard lock(m_mutex);
        m_strLog.append(text, length);
        m_strLog += "\r\n";
        if (m_strLog.size() > kTextMax)
            m_strLog.erase(0, kTrimCount);
    }
    RequestShow();
}

void CLogTab::Clear()
{
    {
        std::lock_guard lock(m_mutex);
        m_strLog.clear();
    }
    GetEdit(m_editId).SetWindowText("");
}

std::string CLogTab::Text() const
{
    std::lock_guard lock(m_mutex);
    return m_strLog;
}

void CLogTab::RequestShow()
{
    if (QThread::currentThread() == thread()) {
        ShowText();
        return;
    }
    // One pending update is enough: it shows the text as it is when it runs. The update is
    // dropped with the window if the window goes first.
    if (!m_showPending.exchange(true))
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_showPending = false;
                ShowText();
            },
            Qt::QueuedConnection);
}

void CLogTab::ShowText()
{
    ui::Edit edit = GetEdit(m_editId);
    if (!edit.IsValid())
        return;
    if (QPlainTextEdit* box = edit.TextEdit())
        box->setPlainText(ShownText(Text()));
    edit.LineScroll(edit.GetLineCount());
}

QString CLogTab::ShownText(const std::string& log)
{
    // Only CR LF breaks a line, as in a multi-line edit box; other CR and LF bytes (a status
    // line's own "\r" or "\n") show as nothing.
    QStringList lines = QString::fromUtf8(log).split(QStringLiteral("\r\n"));
    for (QString& line : lines) {
        line.remove(QLatin1Char('\r'));
        line.remove(QLatin1Char('\n'));
    }
    return lines.join(QLatin1Char('\n'));
}

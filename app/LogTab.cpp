#include "app/LogTab.h"

#include "platform/ui/UserAction.h"
#include "res/Resource.h"

#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QThread>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

namespace {

constexpr char kLineEnd[] = "\r\n";

// One line of the log text (without its CR LF) as the edit box shows it: other CR and LF bytes
// (a status line's own "\r" or "\n") show as nothing.
QString ShownLine(const char* bytes, std::size_t size)
{
    QString line = QString::fromUtf8(bytes, static_cast<qsizetype>(size));
    line.remove(QLatin1Char('\r'));
    line.remove(QLatin1Char('\n'));
    return line;
}

} // namespace

CLogTab::CLogTab(int templateId, int editId) : ui::Dialog(templateId), m_editId(editId) {}

CLogTabComm::CLogTabComm() : CLogTab(IDD_LOG_COMM, IDC_EDIT_COMM_LOG) {}

CLogTabSeq::CLogTabSeq() : CLogTab(IDD_LOG_SEQ, IDC_EDIT_SEQ_LOG) {}

bool CLogTab::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    if (QPlainTextEdit* box = Box()) {
        // The log is the program's record: it can be read, selected and copied, not edited.
        box->setReadOnly(true);
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        // Long lines scroll sideways instead of being cut off at the edge.
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        // Every append would stay on the undo stack for as long as the window lives.
        box->setUndoRedoEnabled(false);
    }
    // Lines may have come before the window existed.
    TakePending();
    return true;
}

void CLogTab::resizeEvent(QResizeEvent* event)
{
    ui::Dialog::resizeEvent(event);
    if (QPlainTextEdit* box = Box())
        box->setGeometry(rect());
}

QPlainTextEdit* CLogTab::Box() const
{
    return GetEdit(m_editId).TextEdit();
}

std::string CLogTab::TimeStamp(std::chrono::system_clock::time_point now,
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

std::string CLogTab::TextOf(const Record& record) const
{
    return (m_stamped ? record.stamp : std::string()) + record.line + kLineEnd;
}

void CLogTab::Trim()
{
    if (m_strLog.size() <= kTextMax)
        return;
    // Whole records go, at least kTrimCount bytes of them, so the text always begins with one.
    std::size_t removed = 0;
    while (removed < kTrimCount && !m_records.empty()) {
        removed += TextOf(m_records.front()).size();
        m_records.pop_front();
    }
    m_strLog.erase(0, removed);
    m_logStart += removed;
}

void CLogTab::AppendLine(const char* text)
{
    const std::size_t length = strnlen(text, kLineMax);
    const auto steadyNow = std::chrono::steady_clock::now();
    const auto now = std::chrono::system_clock::now();
    // Lines written while a user action talks to the camera are laid out when the window's
    // event loop next runs (while the action waits for a reply, or after it), not between a
    // frame and the next.
    const bool shownNow = QThread::currentThread() == thread() && !ui::UserActionUnderWay();
    bool post = false;
    bool batchWaiting = false;
    {
        std::lock_guard lock(m_mutex);
        // The stamp is taken when the record is made, whether stamps are shown now or later.
        const auto since = m_last ? steadyNow - *m_last : std::chrono::steady_clock::duration{};
        m_last = steadyNow;
        m_records.push_back({TimeStamp(now, since), std::string(text, length)});
        m_strLog += TextOf(m_records.back());
        Trim();
        batchWaiting = m_updatePosted;
        if (!shownNow && !m_updatePosted) {
            m_updatePosted = true;
            post = true;
        }
    }
    Deliver(shownNow, post, batchWaiting);
}

void CLogTab::Deliver(bool now, bool post, bool batchWaiting)
{
    // A line joins a batch that waits for its update; otherwise the box takes it at once.
    if (now) {
        if (!batchWaiting)
            TakePending();
        return;
    }
    // The first line of a batch asks for the update; the update takes the whole batch. It is
    // dropped with the window if the window goes first.
    if (post)
        QMetaObject::invokeMethod(
            this, [this] { TakePending(); }, Qt::QueuedConnection);
}

void CLogTab::SetStamped(bool stamped)
{
    // The user's own choice shows at once, whatever batch waits.
    const bool now = QThread::currentThread() == thread();
    bool post = false;
    {
        std::lock_guard lock(m_mutex);
        if (m_stamped == stamped)
            return;
        m_stamped = stamped;
        // Every record kept is written anew, with or without its stamp.
        m_logStart += m_strLog.size();
        m_strLog.clear();
        for (const Record& record : m_records)
            m_strLog += TextOf(record);
        Trim();
        m_rewritten = true;
        if (!now && !m_updatePosted) {
            m_updatePosted = true;
            post = true;
        }
    }
    Deliver(now, post, false);
}

bool CLogTab::Stamped() const
{
    std::lock_guard lock(m_mutex);
    return m_stamped;
}

void CLogTab::Clear()
{
    {
        std::lock_guard lock(m_mutex);
        m_logStart += m_strLog.size();
        m_strLog.clear();
        m_records.clear();
        // The next record has none before it to count from.
        m_last.reset();
        m_rewritten = false;
        m_boxFrom = m_boxTo = m_logStart;
    }
    m_boxLines.clear();
    GetEdit(m_editId).SetWindowText("");
}

std::string CLogTab::Text() const
{
    std::lock_guard lock(m_mutex);
    return m_strLog;
}

void CLogTab::AddBoxLines(const std::string& bytes, std::uint64_t from, QString& out)
{
    std::size_t at = 0;
    for (std::size_t end = bytes.find(kLineEnd); end != std::string::npos;
         end = bytes.find(kLineEnd, at)) {
        const QString line = ShownLine(bytes.data() + at, end - at);
        out += line;
        out += QLatin1Char('\n');
        at = end + 2;
        m_boxLines.push_back({from + at, static_cast<int>(line.size()) + 1});
    }
}

void CLogTab::showEvent(QShowEvent* event)
{
    ui::Dialog::showEvent(event);
    TakePending();
}

void CLogTab::TakePending()
{
    // A hidden box takes the lines when it is shown: laying out lines no one sees would cost
    // the exchanges time.
    QPlainTextEdit* box = Box();
    if (!box || !isVisible())
        return;
    bool rebuild = false;
    std::string firstLine; // the box's first line as the trimmed text now begins it
    std::string added;
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    {
        std::lock_guard lock(m_mutex);
        m_updatePosted = false;
        rebuild = std::exchange(m_rewritten, false);
        start = m_logStart;
        end = start + m_strLog.size();
        if (start > m_boxFrom && !rebuild) {
            // The line that now comes first is shown anew, in case it was cut.
            const std::size_t cut = m_strLog.find(kLineEnd);
            if (cut == std::string::npos || start + cut + 2 > m_boxTo)
                rebuild = true;
            else
                firstLine.assign(m_strLog, 0, cut);
        }
        if (rebuild)
            added = m_strLog;
        else if (end > m_boxTo)
            added.assign(m_strLog, static_cast<std::size_t>(m_boxTo - start));
    }
    if (!rebuild && start == m_boxFrom && added.empty())
        return;

    QTextCursor cursor(box->document());
    if (rebuild) {
        m_boxLines.clear();
        QString text;
        AddBoxLines(added, start, text);
        box->setPlainText(text);
    } else {
        if (start > m_boxFrom) {
            const std::uint64_t firstEnd = start + firstLine.size() + 2;
            int removed = 0;
            while (m_boxLines.front().end < firstEnd) {
                removed += m_boxLines.front().length;
                m_boxLines.pop_front();
            }
            const QString shown = ShownLine(firstLine.data(), firstLine.size());
            cursor.setPosition(removed + m_boxLines.front().length - 1, QTextCursor::KeepAnchor);
            cursor.insertText(shown);
            m_boxLines.front().length = static_cast<int>(shown.size()) + 1;
        }
        QString text;
        AddBoxLines(added, end - added.size(), text);
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text);
    }
    m_boxFrom = start;
    m_boxTo = end;
    ScrollToNewest();
}

void CLogTab::ScrollToNewest()
{
    ui::Edit edit = GetEdit(m_editId);
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

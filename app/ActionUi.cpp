#include "app/ActionUi.h"

#include "comm/LinkAction.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/ui/UserAction.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <poll.h>

namespace {

CActionUi* g_current = nullptr; // UI thread only

bool IsInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

// Tells the action of each other dialog window that is shown while it runs.
class WindowShownWatch final : public QObject {
public:
    explicit WindowShownWatch(std::function<void(QWidget*)> shown) : m_shown(std::move(shown)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A dialog that asks or tells; a tool tip or a list's popup is no question.
        if (event->type() == QEvent::Show && qobject_cast<QDialog*>(watched) &&
            static_cast<QWidget*>(watched)->isWindow())
            m_shown(static_cast<QWidget*>(watched));
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(QWidget*)> m_shown;
};

} // namespace

CActionUi::CActionUi(QWidget* window) : QObject(window), m_window(window)
{
    g_current = this;
    waiting::SetWaiter(this);
    ui::SetActionRunner(
        [this](const std::string& label, const std::function<void()>& body) { Run(label, body); });
}

CActionUi::~CActionUi()
{
    ui::SetActionRunner({});
    waiting::SetWaiter(nullptr);
    if (g_current == this)
        g_current = nullptr;
}

CActionUi* CActionUi::Current()
{
    return g_current;
}

QDialog* CActionUi::ProgressWindow() const
{
    return m_progress.get();
}

bool CActionUi::OnUiThread() const
{
    return QThread::currentThread() == thread();
}

void CActionUi::Run(const std::string& label, const std::function<void()>& body)
{
    if (m_running) {
        body(); // a handler run from inside the action belongs to it
        return;
    }
    m_running = true;
    m_label = label;
    m_clock.start();
    m_sinceEvents.start();
    m_questionWatch =
        std::make_unique<WindowShownWatch>([this](QWidget* shown) { OnOtherWindowShown(shown); });
    qApp->installEventFilter(m_questionWatch.get());
    {
        CLinkAction action;
        body();
        if (action.Exchanges() > 0)
            m_lastTotals[m_label] = action.Exchanges();
    }
    // A failure the user must act on is told once, whatever else the action showed; a camera
    // that refused or answered nonsense is told the same way when the port had nothing to say.
    // An action that told its own failure (and what it left undone) is told by nothing else.
    // The boxes below are the action's last word: no progress window stands behind them.
    m_questionWatch.reset();
    m_progress.reset();
    m_progressText = nullptr;
    const std::string cameraFailure = ui::TakeActionFailure();
    const std::string notice = g_ComIF.TakeNotice();
    const bool told = ui::TakeActionFailureTold();
    if (!told && !notice.empty())
        ShowMessageBox(notice, kNoticeTitle, MsgIcon::Error);
    else if (!told && !cameraFailure.empty())
        ShowMessageBox(cameraFailure, kCameraErrorTitle, MsgIcon::Error);
    m_running = false;
}

void CActionUi::OnOtherWindowShown(QWidget* shown)
{
    if (!m_progress || shown == m_progress.get() || !m_progress->isVisible())
        return;
    if (m_window && shown == m_window->window())
        return;
    m_progress->hide();
    m_clock.start();
}

void CActionUi::Cancel()
{
    g_ComIF.RequestCancel();
    if (m_loop) {
        *m_loopResult = waiting::WaitResult::Cancelled;
        m_loop->quit();
    }
}

void CActionUi::BeginWaiting()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
    ShowProgressWhenDue();
}

void CActionUi::EndWaiting()
{
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    m_sinceEvents.start();
}

bool CActionUi::eventFilter(QObject* watched, QEvent* event)
{
    // Input meant for the main window is dropped, not deferred: it must not start a second
    // action once this one is over. The progress window and message boxes are other windows.
    if (!watched->isWidgetType() || !m_window)
        return QObject::eventFilter(watched, event);
    QWidget* main = m_window->window();
    if (IsInput(event->type()) && static_cast<QWidget*>(watched)->window() == main)
        return true;
    // Closing the window would take the port from under the waiting exchange.
    if (event->type() == QEvent::Close && watched == main) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void CActionUi::ShowProgressWhenDue()
{
    if (!m_running || m_clock.elapsed() < kShowAfterMs)
        return;
    if (m_ownProgress) {
        m_ownProgress->Tick();
        return;
    }
    if (m_progress && m_progress->isHidden()) {
        m_progress->show();
    } else if (!m_progress) {
        m_progress = std::make_unique<QDialog>(m_window);
        m_progress->setWindowTitle(QStringLiteral("VireoStudio"));
        m_progress->setAccessibleName(QStringLiteral("Camera progress"));
        m_progress->setWindowModality(Qt::ApplicationModal);
        auto* layout = new QVBoxLayout(m_progress.get());
        m_progressText = new QLabel(m_progress.get());
        m_progressText->setAccessibleName(QStringLiteral("Progress text"));
        m_progressText->setMinimumWidth(280);
        layout->addWidget(m_progressText);
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), m_progress.get());
        cancel->setAccessibleName(QStringLiteral("Cancel"));
        layout->addWidget(cancel, 0, Qt::AlignHCenter);
        connect(cancel, &QPushButton::clicked, this, [this] { Cancel(); });
        // Escape or closing the window cancels as the button does.
        connect(m_progress.get(), &QDialog::rejected, this, [this] { Cancel(); });
        UpdateProgress();
        m_progress->show();
    }
    UpdateProgress();
}

void CActionUi::UpdateProgress()
{
    if (!m_progressText)
        return;
    // The exchange now waiting is the one counted last.
    const int done = g_ComIF.Action().exchanges;
    std::string text = m_label + " " + std::to_string(done);
    if (const auto last = m_lastTotals.find(m_label); last != m_lastTotals.end())
        text += " of " + std::to_string(std::max(last->second, done));
    m_progressText->setText(QString::fromStdString(text));
}

waiting::WaitResult CActionUi::WaitReadable(int fd, waiting::Clock::time_point deadline,
                                            const waiting::CancelFlag& cancel)
{
    if (!OnUiThread())
        return waiting::DefaultWaiter().WaitReadable(fd, deadline, cancel);
    if (cancel.Requested())
        return waiting::WaitResult::Cancelled;
    // A reply already there is taken at once, unless the window has not had a turn lately.
    pollfd entry{fd, POLLIN, 0};
    if (::poll(&entry, 1, 0) > 0 && m_sinceEvents.isValid() && m_sinceEvents.elapsed() < kSliceMs)
        return waiting::WaitResult::Readable;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - waiting::Clock::now()).count();
    if (left <= 0)
        return waiting::WaitResult::TimedOut;

    waiting::WaitResult result = waiting::WaitResult::TimedOut;
    QEventLoop loop;
    QSocketNotifier notifier(fd, QSocketNotifier::Read);
    connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
        result = waiting::WaitResult::Readable;
        loop.quit();
    });
    QTimer timeout;
    timeout.setSingleShot(true);
    timeout.setTimerType(Qt::PreciseTimer);
    connect(&timeout, &QTimer::timeout, &loop, [&] {
        // The reply time-out is never cut short by a timer that fires a little early.
        const auto rest =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - waiting::Clock::now()).count();
        if (rest > 0) {
            timeout.start(static_cast<int>(rest));
            return;
        }
        result = waiting::WaitResult::TimedOut;
        loop.quit();
    });
    timeout.start(static_cast<int>(std::min<long long>(left, 1 << 30)));
    QTimer progressDue;
    progressDue.setSingleShot(true);
    progressDue.setTimerType(Qt::PreciseTimer);
    const auto progressLeft = [this] {
        return static_cast<int>(std::max<qint64>(0, kShowAfterMs - m_clock.elapsed()));
    };
    if (m_running && (!m_progress || m_progress->isHidden())) {
        // A timer may fire a little early: then it waits out the rest.
        connect(&progressDue, &QTimer::timeout, this, [&] {
            if (progressLeft() > 0)
                progressDue.start(progressLeft());
            else
                ShowProgressWhenDue();
        });
        progressDue.start(progressLeft());
    }

    QEventLoop* outerLoop = m_loop;
    waiting::WaitResult* outerResult = m_loopResult;
    m_loop = &loop;
    m_loopResult = &result;
    BeginWaiting();
    if (!cancel.Requested())
        loop.exec();
    else
        result = waiting::WaitResult::Cancelled;
    EndWaiting();
    m_loop = outerLoop;
    m_loopResult = outerResult;
    return result;
}

std::chrono::milliseconds CActionUi::Slice() const
{
    return OnUiThread() ? std::chrono::milliseconds(kSliceMs) : std::chrono::milliseconds::max();
}

bool CActionUi::Pump(const waiting::CancelFlag& cancel)
{
    if (!OnUiThread())
        return !cancel.Requested();
    BeginWaiting();
    QCoreApplication::processEvents();
    EndWaiting();
    return !cancel.Requested();
}

#include "app/WindowPlacer.h"

#include "app/LogDlg.h"
#include "app/WindowPlacement.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/Resources.h"
#include "res/Resource.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace {
// The log window shrinks no further than this, in dialog units: its edit box keeps a few lines
// and its two buttons stay apart.
constexpr int kLogMinimumWidth = 138;
constexpr int kLogMinimumHeight = 101;
} // namespace

CWindowPlacer::CWindowPlacer(QWidget* main, CLogDlg* log) : QObject(main), m_main(main), m_log(log)
{
    main->installEventFilter(this);
    if (log)
        log->installEventFilter(this);
}

QMargins CWindowPlacer::Frame(const QWidget* window, const QWidget* other) const
{
    const auto decorated = [](const QWidget* w) {
        if (!w || !w->isVisible())
            return QMargins();
        const QRect frame = w->frameGeometry();
        const QRect client = w->geometry();
        const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                               frame.right() - client.right(), frame.bottom() - client.bottom());
        // While a window is being mapped its frame may not yet surround it.
        const bool surrounds = margins.left() >= 0 && margins.top() >= 0 && margins.right() >= 0 &&
                               margins.bottom() >= 0;
        return surrounds ? margins : QMargins();
    };
    if (const QMargins own = decorated(window); !own.isNull())
        return own;
    if (const QMargins others = decorated(other); !others.isNull())
        return others;
    const int title = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return {4, title + 8, 4, 4};
}

void CWindowPlacer::Place()
{
    if (!m_main)
        return;
    const QScreen* screen = m_main->screen();
    if (!screen)
        return;
    m_mainFrame = Frame(m_main, m_log);
    m_logFrame = Frame(m_log, m_main);
    WindowSizes sizes{m_main->size(), m_mainFrame, {}, {}, m_logFrame};
    // Before the log window is built its size comes from its template, so that the main
    // window can take its place before it is shown.
    const ui::DialogTemplate* tmpl = ui::FindDialogTemplate(IDD_LOG);
    if (m_log && tmpl) {
        const ui::DialogUnits units(ui::TemplateFont(*tmpl));
        if (m_logDesigned.isEmpty() && m_log->IsCreated())
            m_logDesigned = m_log->size();
        sizes.log = m_logDesigned.isEmpty()
                        ? QSize(units.ToPixelsX(tmpl->rect.cx), units.ToPixelsY(tmpl->rect.cy))
                        : m_logDesigned;
        sizes.logMinimum =
            QSize(units.ToPixelsX(kLogMinimumWidth), units.ToPixelsY(kLogMinimumHeight));
    }
    m_mainSize = m_main->size();
    const WindowPlaces at = PlaceWindows(screen->availableGeometry(), sizes);
    // The client areas are placed, not the frames: a frame's position goes through the margins
    // Qt knows, which are none until the window manager has told them.
    m_main->setGeometry(at.main.marginsRemoved(m_mainFrame));
    if (m_log && m_log->IsCreated()) {
        const QRect client = at.log.marginsRemoved(m_logFrame);
        SizeLog(client.size());
        m_log->setGeometry(client);
    }
}

void CWindowPlacer::SizeLog(QSize client)
{
    if (client == m_log->size())
        return;
    if (m_designed.empty()) {
        const auto keep = [this](QWidget* w) {
            if (w)
                m_designed.emplace(w, w->geometry());
        };
        for (const int id : {IDC_TAB_LOG, IDC_BUTTON_LOG_CLS, IDC_BUTTON_LOG_SAVE})
            keep(m_log->GetDlgItem(id));
        for (CLogTab* tab :
             {static_cast<CLogTab*>(&m_log->m_tabComm), static_cast<CLogTab*>(&m_log->m_tabSeq)}) {
            keep(tab);
            keep(tab->GetDlgItem(tab->EditId()));
        }
    }
    const QSize delta = client - m_logDesigned;
    for (const auto& [widget, designed] : m_designed) {
        // The buttons keep their distance to the bottom edge, "Save" to the right one too; the
        // tab control and its pages take the rest.
        const bool button =
            widget->parentWidget() == m_log && widget != m_log->GetDlgItem(IDC_TAB_LOG);
        if (!button) {
            widget->resize(designed.size() + delta);
            continue;
        }
        const bool right = widget == m_log->GetDlgItem(IDC_BUTTON_LOG_SAVE);
        widget->move(designed.topLeft() + QPoint(right ? delta.width() : 0, delta.height()));
    }
    m_log->setFixedSize(client);
}

bool CWindowPlacer::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
        // The window manager has decorated a window (or changed its decorations), or the main
        // window has grown or shrunk with a bar: the places were worked out for other frames.
        if (m_main && (Frame(m_main, m_log) != m_mainFrame || Frame(m_log, m_main) != m_logFrame ||
                       m_main->size() != m_mainSize))
            Place();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

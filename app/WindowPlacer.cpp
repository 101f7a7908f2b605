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

bool CWindowPlacer::Place()
{
    if (!m_main)
        return true;
    const QScreen* screen = m_main->screen();
    if (!screen)
        return true;
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
        sizes.logMinimum = QSize(units.ToPixelsX(CLogDlg::kMinimumWidth),
                                 units.ToPixelsY(CLogDlg::kMinimumHeight));
    }
    const WindowPlaces at = PlaceWindows(screen->availableGeometry(), sizes);
    // The client areas are placed, not the frames: a frame's position goes through the margins
    // Qt knows, which are none until the window manager has told them.
    m_main->setGeometry(at.main.marginsRemoved(m_mainFrame));
    if (m_log && m_log->IsCreated())
        m_log->setGeometry(at.log.marginsRemoved(m_logFrame));
    return at.apart;
}

bool CWindowPlacer::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
        // The window manager has decorated a window (or changed its decorations): the places
        // were worked out for other frames. A size the user gives a window is left alone.
        if (m_main && (Frame(m_main, m_log) != m_mainFrame || Frame(m_log, m_main) != m_logFrame))
            Place();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

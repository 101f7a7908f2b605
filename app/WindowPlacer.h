// Puts the main window and the log window where PlaceWindows says, with the decorations the
// window manager gives them. The decorations are only known once a window is shown, so the
// windows are placed again when they become known or change.
#pragma once

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

class CLogDlg;
class QWidget;

class CWindowPlacer : public QObject {
public:
    // Lives as long as the main window, its parent.
    CWindowPlacer(QWidget* main, CLogDlg* log);

    // Places both windows on the main window's screen; the log window takes its size too.
    // False when the log window's place covers part of the main window.
    bool Place();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The decorations around a window: the real ones once the window manager has given them,
    // else the other window's, else a guess on the generous side.
    QMargins Frame(const QWidget* window, const QWidget* other) const;

    QPointer<QWidget> m_main;
    QPointer<CLogDlg> m_log;
    QMargins m_mainFrame;
    QMargins m_logFrame;
    QSize m_logDesigned;
};

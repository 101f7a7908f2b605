// The start-up splash: the program's picture, centred on the screen, for 800 ms or until the
// first key or mouse press anywhere in the program, which it takes for itself.
#pragma once

#include "platform/ui/Timer.h"

#include <QPixmap>
#include <QWidget>

class QEvent;

class CSplashWnd : public QWidget {
public:
    ~CSplashWnd() override;

    // Set once from the command line: no splash when started for embedding or automation.
    static void EnableSplashScreen(bool enable);
    // Shows the splash owned by parent, unless it is disabled or already shown.
    static void ShowSplashScreen(QWidget* parent);
    // Offered every event of the program; true when the splash took it (and went away).
    static bool PreTranslateAppMessage(QObject* receiver, QEvent* event);
    // The splash while it is shown, else null.
    static CSplashWnd* Current() { return c_pSplashWnd; }

    static constexpr int kShowMilliseconds = 800;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    explicit CSplashWnd(QWidget* parent);
    bool Create();
    void HideSplashScreen();

    QPixmap m_bitmap;
    ui::OneShotTimer m_timer;

    static bool c_bShowSplashWnd;
    static CSplashWnd* c_pSplashWnd;
};

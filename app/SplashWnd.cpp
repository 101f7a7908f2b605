#include "app/SplashWnd.h"

#include "platform/ui/MainWindow.h"
#include "platform/ui/Resources.h"
#include "res/Resource.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

bool CSplashWnd::c_bShowSplashWnd = false;
CSplashWnd* CSplashWnd::c_pSplashWnd = nullptr;

CSplashWnd::CSplashWnd(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
}

CSplashWnd::~CSplashWnd()
{
    if (c_pSplashWnd == this)
        c_pSplashWnd = nullptr;
}

void CSplashWnd::EnableSplashScreen(bool enable)
{
    c_bShowSplashWnd = enable;
}

void CSplashWnd::ShowSplashScreen(QWidget* parent)
{
    if (!c_bShowSplashWnd || c_pSplashWnd)
        return;
    auto* splash = new CSplashWnd(parent);
    c_pSplashWnd = splash;
    if (!splash->Create())
        delete splash; // no picture: the start goes on without a splash
}

bool CSplashWnd::Create()
{
    m_bitmap = ui::LoadBitmap(IDB_SPLASH);
    if (m_bitmap.isNull())
        return false;
    setFixedSize(m_bitmap.deviceIndependentSize().toSize());
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    m_timer.Start(kShowMilliseconds, [this] { HideSplashScreen(); });
    show();
    repaint();
    return true;
}

void CSplashWnd::HideSplashScreen()
{
    m_timer.Stop();
    hide();
    if (c_pSplashWnd == this)
        c_pSplashWnd = nullptr;
    // The event that hid the splash may still be on its way through this window.
    deleteLater();
    if (QWidget* main = ui::GetMainWindow())
        main->update();
}

bool CSplashWnd::PreTranslateAppMessage(QObject*, QEvent* event)
{
    if (!c_pSplashWnd)
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Keep a shortcut from acting on the key; the key press itself follows.
        event->accept();
        return true;
    case QEvent::KeyPress:
        break;
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress: {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        if (button != Qt::LeftButton && button != Qt::RightButton && button != Qt::MiddleButton)
            return false;
        break;
    }
    default:
        return false;
    }
    c_pSplashWnd->HideSplashScreen();
    return true;
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bitmap);
}

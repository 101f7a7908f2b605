#include "platform/ui/Timer.h"

namespace ui {

OneShotTimer::OneShotTimer()
{
    m_timer.setSingleShot(true);
    // Coarse timers may fire 5 % early; a short display time should not.
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        // The callback may destroy the timer's owner; run a copy.
        const std::function<void()> callback = m_callback;
        if (callback)
            callback();
    });
}

void OneShotTimer::Start(int milliseconds, std::function<void()> callback)
{
    m_callback = std::move(callback);
    m_timer.start(milliseconds);
}

void OneShotTimer::Stop()
{
    m_timer.stop();
}

} // namespace ui

// A one-shot timer: after the given time the callback runs once on the owner's thread.
#pragma once

#include <QTimer>

#include <functional>

namespace ui {

class OneShotTimer {
public:
    OneShotTimer();
    OneShotTimer(const OneShotTimer&) = delete;
    OneShotTimer& operator=(const OneShotTimer&) = delete;

    // Starts (or restarts) the timer.
    void Start(int milliseconds, std::function<void()> callback);
    void Stop();
    bool IsActive() const { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_callback;
};

} // namespace ui

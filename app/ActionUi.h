// The window's side of a user action: the action runs in one link-action scope; while one of
// its exchanges waits, the window's event loop keeps running (painting, the log window growing)
// with a busy cursor and no other input to the main window; after a moment a small progress
// window tells what is being read and offers "Cancel". All of it lives on the UI thread;
// waits on any other thread block in poll() as without a window.
#pragma once

#include "platform/wait/Wait.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QDialog;
class QEventLoop;
class QLabel;
class QWidget;

// A progress window of its own that stands in for the action's (a settings transfer's).
class IActionProgress {
public:
    virtual ~IActionProgress() = default;
    // Called while the action waits; shows or updates the window.
    virtual void Tick() = 0;
};

// Title of the box that tells of a camera's refusal or of a reply that could not be used.
inline constexpr const char* kCameraErrorTitle = "Camera Error";

class CActionUi final : public QObject, public waiting::IWaiter {
public:
    // An action shows its progress window once it has run this long.
    static constexpr int kShowAfterMs = 500;
    // The longest a blocking library call runs before the window gets its turn again.
    static constexpr int kSliceMs = 50;

    // Installs itself as the action runner and the waiter; the window is the one whose input is
    // held off while an action runs, and owns this object.
    explicit CActionUi(QWidget* window);
    ~CActionUi() override;

    // The one in place, or null.
    static CActionUi* Current();
    // Ends the running action's wait at once and skips the rest of the action.
    void Cancel();
    void SetOwnProgress(IActionProgress* progress) { m_ownProgress = progress; }

    // The progress window while it is shown, else null (tests).
    QDialog* ProgressWindow() const;
    bool Running() const { return m_running; }

    waiting::WaitResult WaitReadable(int fd, waiting::Clock::time_point deadline,
                                     const waiting::CancelFlag& cancel) override;
    std::chrono::milliseconds Slice() const override;
    bool Pump(const waiting::CancelFlag& cancel) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Run(const std::string& label, const std::function<void()>& body);
    bool OnUiThread() const;
    // Busy cursor and input held off while events are taken during a wait.
    void BeginWaiting();
    void EndWaiting();
    void ShowProgressWhenDue();
    void UpdateProgress();
    // Another window came up (a question, a box, a file dialog): the progress window goes until
    // the camera is talked to again for a moment.
    void OnOtherWindowShown(QWidget* shown);

    QWidget* m_window;
    bool m_running = false;
    std::string m_label;
    QElapsedTimer m_clock;
    std::unique_ptr<QDialog> m_progress;
    QLabel* m_progressText = nullptr;
    IActionProgress* m_ownProgress = nullptr;
    QEventLoop* m_loop = nullptr;                // the wait in progress
    waiting::WaitResult* m_loopResult = nullptr; // where it leaves its outcome
    QElapsedTimer m_sinceEvents;                 // since events were last taken
    // Hides the progress window while the action asks or tells the user something.
    std::unique_ptr<QObject> m_questionWatch;
    std::map<std::string, int> m_lastTotals; // exchanges of the last run of each action
};

// An up-down control: two arrow buttons that step a position within a range, optionally tied to
// a buddy edit box that shows the position.
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

#include <functional>

class QToolButton;

namespace ui {

class UpDownWidget : public QWidget {
public:
    explicit UpDownWidget(QWidget* parent = nullptr);

    // Called after the user changed the position.
    void SetNotify(std::function<void()> notify) { m_notify = std::move(notify); }

    // lower is what the down arrow approaches, upper what the up arrow approaches; lower may be
    // greater than upper. The control's own default is 100 (lower) to 0 (upper).
    void SetRange(int lower, int upper);
    void GetRange(int* lower, int* upper) const;
    int SetPos(int pos); // returns the previous position
    int GetPos() const { return m_pos; }

    void SetBuddy(QLineEdit* buddy, bool setBuddyInt, bool arrowKeys);
    QLineEdit* GetBuddy() const { return m_buddy; }

    // One step towards upper (+1) or lower (-1), as an arrow click does.
    void Step(int direction);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowInBuddy();
    int Clamp(int pos) const;

    QToolButton* m_up;
    QToolButton* m_down;
    QPointer<QLineEdit> m_buddy;
    QPointer<QObject> m_buddyObject; // the same object, for the event filter's comparison
    bool m_setBuddyInt = false;
    int m_lower = 100;
    int m_upper = 0;
    int m_pos = 0;
    std::function<void()> m_notify;
};

} // namespace ui

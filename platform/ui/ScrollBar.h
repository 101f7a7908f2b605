// A horizontal scroll bar that behaves like a dialog's scroll-bar control: it reports what the
// user did (line and page steps, the released thumb's position, tracking) and never moves by
// itself; the program sets its position in answer to the report.
#pragma once

#include <QScrollBar>

#include <functional>

namespace ui {

// Notification codes of a scroll bar.
enum ScrollCode : int {
    SB_LINELEFT = 0,
    SB_LINERIGHT = 1,
    SB_PAGELEFT = 2,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4, // the thumb was released; the notification carries its position
    SB_THUMBTRACK = 5,    // the thumb is being dragged
    SB_LEFT = 6,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
};

class ScrollBarWidget : public QScrollBar {
public:
    using Notify = std::function<void(int code, int pos)>;

    explicit ScrollBarWidget(QWidget* parent = nullptr);

    void SetNotify(Notify notify) { m_notify = std::move(notify); }

    // A new range keeps the position inside it.
    void SetScrollRange(int minimum, int maximum, bool redraw = true);
    void GetScrollRange(int* minimum, int* maximum) const;
    // Returns the previous position; the new one is clamped to the range.
    int SetScrollPos(int pos, bool redraw = true);
    int GetScrollPos() const { return value(); }
    // Reports a notification as if the user had caused it.
    void Simulate(int code, int pos = 0) { Report(code, pos); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void OnAction(int action);
    void OnSliderMoved(int pos);
    void Report(int code, int pos);

    Notify m_notify;
    bool m_restoring = false;
    bool m_actionSincePress = false;
};

} // namespace ui

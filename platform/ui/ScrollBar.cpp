#include "platform/ui/ScrollBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QWheelEvent>

namespace ui {

ScrollBarWidget::ScrollBarWidget(QWidget* parent) : QScrollBar(Qt::Horizontal, parent)
{
    // The default range of a scroll-bar control.
    setRange(0, 100);
    setValue(0);
    setSingleStep(1);
    setPageStep(10);
    // The thumb follows the mouse while dragged, but the value changes only when the program
    // sets it.
    setTracking(false);
    // Reached by Tab and moved by its keys as by the mouse; a bar that is no tab stop is made
    // click-only where it is built.
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int a) { OnAction(a); });
    connect(this, &QAbstractSlider::sliderMoved, this, [this](int p) { OnSliderMoved(p); });
}

void ScrollBarWidget::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    // Styles draw no focus mark on a scroll bar (some only after a Tab): one that has the focus
    // shows it with a dotted frame in the highlight colour, however it got it.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ScrollBarWidget::focusInEvent(QFocusEvent* event)
{
    QScrollBar::focusInEvent(event);
    update();
}

void ScrollBarWidget::focusOutEvent(QFocusEvent* event)
{
    QScrollBar::focusOutEvent(event);
    update();
}

void ScrollBarWidget::SetScrollRange(int minimum, int maximum, bool redraw)
{
    setRange(minimum, maximum);
    if (redraw)
        update();
}

void ScrollBarWidget::GetScrollRange(int* minimum, int* maximum) const
{
    if (minimum)
        *minimum = QScrollBar::minimum();
    if (maximum)
        *maximum = QScrollBar::maximum();
}

int ScrollBarWidget::SetScrollPos(int pos, bool redraw)
{
    const int previous = value();
    m_restoring = true;
    if (isSliderDown()) {
        // The thumb stays under the mouse while the user drags it.
        const int dragged = sliderPosition();
        setValue(pos);
        setSliderPosition(dragged);
    } else {
        setValue(pos);
        setSliderPosition(value());
    }
    m_restoring = false;
    if (redraw)
        update();
    return previous;
}

void ScrollBarWidget::OnAction(int action)
{
    int code = -1;
    int pos = 0;
    switch (action) {
    case SliderSingleStepSub:
        code = SB_LINELEFT;
        break;
    case SliderSingleStepAdd:
        code = SB_LINERIGHT;
        break;
    case SliderPageStepSub:
        code = SB_PAGELEFT;
        break;
    case SliderPageStepAdd:
        code = SB_PAGERIGHT;
        break;
    case SliderToMinimum:
        code = SB_LEFT;
        break;
    case SliderToMaximum:
        code = SB_RIGHT;
        break;
    case SliderMove:
        // Without tracking this arrives when the dragged thumb is released.
        code = SB_THUMBPOSITION;
        pos = sliderPosition();
        break;
    default:
        return;
    }
    // Undo the step the slider has already taken: only the program moves the bar.
    m_restoring = true;
    setSliderPosition(value());
    m_restoring = false;
    m_actionSincePress = true;
    Report(code, pos);
}

void ScrollBarWidget::OnSliderMoved(int pos)
{
    if (m_restoring)
        return;
    m_actionSincePress = true;
    Report(SB_THUMBTRACK, pos);
}

void ScrollBarWidget::Report(int code, int pos)
{
    if (m_notify)
        m_notify(code, pos);
}

void ScrollBarWidget::keyPressEvent(QKeyEvent* event)
{
    // The keys of a scroll-bar control: arrows step, page keys page, Home and End go to the ends.
    SliderAction action = SliderNoAction;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        action = SliderSingleStepSub;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        action = SliderSingleStepAdd;
        break;
    case Qt::Key_PageUp:
        action = SliderPageStepSub;
        break;
    case Qt::Key_PageDown:
        action = SliderPageStepAdd;
        break;
    case Qt::Key_Home:
    case Qt::Key_End:
        // Told as the thumb dropped at that end, the one way a mouse gets there, so that a
        // listener that moves on thumb positions moves for these keys as well.
        Report(SB_THUMBPOSITION, event->key() == Qt::Key_Home ? minimum() : maximum());
        m_actionSincePress = false;
        Report(SB_ENDSCROLL, 0);
        event->accept();
        return;
    default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    triggerAction(action);
    m_actionSincePress = false;
    Report(SB_ENDSCROLL, 0);
    event->accept();
}

void ScrollBarWidget::mouseReleaseEvent(QMouseEvent* event)
{
    // Releasing a dragged thumb reports its position (through OnAction) before the end.
    QScrollBar::mouseReleaseEvent(event);
    if (m_actionSincePress) {
        m_actionSincePress = false;
        Report(SB_ENDSCROLL, 0);
    }
}

void ScrollBarWidget::wheelEvent(QWheelEvent* event)
{
    // A scroll-bar control leaves the wheel to its dialog.
    event->ignore();
}

} // namespace ui

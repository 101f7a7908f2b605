#include "platform/ui/UpDown.h"

#include <QKeyEvent>
#include <QToolButton>

#include <algorithm>

namespace ui {

UpDownWidget::UpDownWidget(QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDownWidget::SetRange(int lower, int upper)
{
    m_lower = lower;
    m_upper = upper;
    m_pos = Clamp(m_pos);
    ShowInBuddy();
}

void UpDownWidget::GetRange(int* lower, int* upper) const
{
    if (lower)
        *lower = m_lower;
    if (upper)
        *upper = m_upper;
}

int UpDownWidget::Clamp(int pos) const
{
    return std::clamp(pos, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
}

int UpDownWidget::SetPos(int pos)
{
    const int previous = m_pos;
    m_pos = Clamp(pos);
    ShowInBuddy();
    return previous;
}

void UpDownWidget::Step(int direction)
{
    const int towardsUpper = m_upper >= m_lower ? 1 : -1;
    const int next = Clamp(m_pos + direction * towardsUpper);
    if (next == m_pos)
        return;
    m_pos = next;
    ShowInBuddy();
    if (m_notify)
        m_notify();
}

void UpDownWidget::SetBuddy(QLineEdit* buddy, bool setBuddyInt, bool arrowKeys)
{
    if (m_buddy)
        m_buddy->removeEventFilter(this);
    m_buddy = buddy;
    m_buddyObject = buddy;
    m_setBuddyInt = setBuddyInt;
    if (m_buddy && arrowKeys)
        m_buddy->installEventFilter(this);
    ShowInBuddy();
}

void UpDownWidget::ShowInBuddy()
{
    if (m_buddy && m_setBuddyInt)
        m_buddy->setText(QString::number(m_pos));
}

void UpDownWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

bool UpDownWidget::eventFilter(QObject* watched, QEvent* event)
{
    // The buddy may be in the middle of its destruction here: compare addresses as QObjects,
    // never through a cast to QLineEdit.
    if (watched == m_buddyObject && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace ui

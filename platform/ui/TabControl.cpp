#include "platform/ui/TabControl.h"

#include <QPainter>
#include <QShortcut>
#include <QStyleOptionTabWidgetFrame>

#include <algorithm>

namespace ui {
namespace {

// Tabs that all take the width of the widest caption.
class StripBar : public QTabBar {
public:
    StripBar(bool fixedWidth, QWidget* parent) : QTabBar(parent), m_fixedWidth(fixedWidth) {}

protected:
    QSize tabSizeHint(int index) const override
    {
        QSize size = QTabBar::tabSizeHint(index);
        if (!m_fixedWidth)
            return size;
        int widest = 0;
        for (int i = 0; i < count(); ++i)
            widest = std::max(widest, QTabBar::tabSizeHint(i).width());
        size.setWidth(widest);
        return size;
    }

private:
    bool m_fixedWidth;
};

} // namespace

TabControlWidget::TabControlWidget(QWidget* parent) : TabControlWidget(Options{}, parent) {}

TabControlWidget::TabControlWidget(const Options& options, QWidget* parent)
    : QWidget(parent), m_options(options), m_bar(new StripBar(options.fixedWidth, this))
{
    m_bar->setShape(options.bottom ? QTabBar::RoundedSouth : QTabBar::RoundedNorth);
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    m_bar->setUsesScrollButtons(true);
    m_bar->setElideMode(Qt::ElideNone);
    m_bar->setMouseTracking(options.hotTrack);
    if (!options.takesFocus) {
        m_bar->setFocusPolicy(Qt::NoFocus);
        setFocusPolicy(Qt::NoFocus);
    }
    connect(m_bar, &QTabBar::currentChanged, this, [this](int) {
        if (m_programmatic == 0 && m_onSelChange)
            m_onSelChange();
    });
    PlaceBar();
    InstallPageKeys();
}

void TabControlWidget::InstallPageKeys()
{
    // Anywhere in its window, as in a property sheet; a hidden tab control's keys are inactive,
    // so with one control shown per window the keys always reach the one on show.
    // Shift+Tab comes as Backtab from some keyboards and as Tab with Shift from others; one
    // shortcut holds both, so that neither press finds the other ambiguous.
    const std::pair<QList<QKeySequence>, int> keys[] = {
        {{QKeySequence(Qt::CTRL | Qt::Key_Tab)}, +1},
        {{QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, +1},
        {{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)},
         -1},
        {{QKeySequence(Qt::CTRL | Qt::Key_PageUp)}, -1},
    };
    for (const auto& [sequences, step] : keys) {
        auto* shortcut = new QShortcut(this);
        shortcut->setKeys(sequences);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] { SelectStep(step); });
        // A Backtab press matches both of its sequences: the one shortcut still steps once.
        connect(shortcut, &QShortcut::activatedAmbiguously, this,
                [this, step = step] { SelectStep(step); });
    }
}

void TabControlWidget::SelectStep(int step)
{
    const int count = m_bar->count();
    if (count == 0)
        return;
    const int current = std::max(0, m_bar->currentIndex());
    const int next = ((current + step) % count + count) % count;
    if (next == m_bar->currentIndex())
        return;
    // Not marked as the program's: the change is reported as a click on the tab would be.
    m_bar->setCurrentIndex(next);
}

int TabControlWidget::InsertItem(int index, const std::string& caption)
{
    ++m_programmatic;
    const int at = m_bar->insertTab(index, QString::fromStdString(caption));
    --m_programmatic;
    PlaceBar();
    return at;
}

bool TabControlWidget::DeleteAllItems()
{
    ++m_programmatic;
    while (m_bar->count() > 0)
        m_bar->removeTab(m_bar->count() - 1);
    --m_programmatic;
    PlaceBar();
    return true;
}

std::string TabControlWidget::GetItemText(int index) const
{
    return m_bar->tabText(index).toStdString();
}

int TabControlWidget::SetCurSel(int index)
{
    if (index < 0 || index >= m_bar->count())
        return -1;
    const int previous = m_bar->currentIndex();
    ++m_programmatic;
    m_bar->setCurrentIndex(index);
    --m_programmatic;
    return previous;
}

QRect TabControlWidget::DisplayRect() const
{
    const int strip = m_bar->sizeHint().height();
    QRect area = rect();
    if (m_options.bottom)
        area.setBottom(area.bottom() - strip);
    else
        area.setTop(area.top() + strip);
    return area;
}

void TabControlWidget::PlaceBar()
{
    const int strip = m_bar->sizeHint().height();
    const int y = m_options.bottom ? height() - strip : 0;
    m_bar->setGeometry(0, y, width(), strip);
    m_bar->raise();
    update();
}

void TabControlWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceBar();
}

void TabControlWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = DisplayRect();
    frame.shape = m_bar->shape();
    frame.tabBarSize = m_bar->sizeHint();
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

} // namespace ui

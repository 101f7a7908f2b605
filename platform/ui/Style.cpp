#include "platform/ui/Style.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>

#include <memory>

namespace ui {
namespace {

// Asks the base style for its icon the first time the icon is needed. Loading it by file name
// offers the file to every image plugin, which costs start-up the plugins and their libraries.
class DeferredIconEngine final : public QIconEngine {
public:
    DeferredIconEngine(QPointer<QStyle> style, QStyle::StandardPixmap which)
        : m_style(std::move(style)), m_which(which)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return Icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }
    bool isNull() override { return Icon().isNull(); }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    QIconEngine* clone() const override
    {
        auto* copy = new DeferredIconEngine(m_style, m_which);
        copy->m_icon = m_icon;
        return copy;
    }

private:
    const QIcon& Icon()
    {
        if (!m_icon && m_style)
            m_icon = std::make_unique<QIcon>(m_style->standardIcon(m_which));
        if (!m_icon)
            m_icon = std::make_unique<QIcon>();
        return *m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    std::shared_ptr<QIcon> m_icon;
};

class ApplicationStyle final : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override
    {
        // The menu bar's overflow button: built with every menu bar, shown only when the menus
        // do not fit.
        if (which == SP_ToolBarHorizontalExtensionButton ||
            which == SP_ToolBarVerticalExtensionButton)
            return QIcon(new DeferredIconEngine(baseStyle(), which));
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

} // namespace

QStyle* CreateApplicationStyle()
{
    return new ApplicationStyle;
}

} // namespace ui

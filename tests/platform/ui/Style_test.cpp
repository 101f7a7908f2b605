// The application style draws every standard icon as the platform's style does, whether it
// loads the icon at once or when it is first painted.
#include "platform/ui/Style.h"

#include <QIcon>
#include <QImage>
#include <QProxyStyle>
#include <QStyleFactory>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(ApplicationStyle, StandardIconsMatchThePlatformStyle)
{
    const std::unique_ptr<QStyle> style(ui::CreateApplicationStyle());
    auto* proxy = dynamic_cast<QProxyStyle*>(style.get());
    ASSERT_NE(proxy, nullptr);
    const std::unique_ptr<QStyle> platform(QStyleFactory::create(proxy->baseStyle()->name()));
    ASSERT_NE(platform, nullptr);

    const struct {
        QStyle::StandardPixmap which;
        const char* name;
    } cases[] = {
        {QStyle::SP_ToolBarHorizontalExtensionButton, "horizontal extension (deferred)"},
        {QStyle::SP_ToolBarVerticalExtensionButton, "vertical extension (deferred)"},
        {QStyle::SP_TitleBarCloseButton, "close button (passed through)"},
        {QStyle::SP_ArrowDown, "arrow (passed through)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QIcon ours = style->standardIcon(c.which);
        const QIcon theirs = platform->standardIcon(c.which);
        ASSERT_FALSE(theirs.isNull());
        EXPECT_FALSE(ours.isNull());
        EXPECT_EQ(ours.availableSizes(), theirs.availableSizes());
        for (const int side : {16, 32}) {
            const QSize size(side, side);
            EXPECT_EQ(ours.actualSize(size), theirs.actualSize(size));
            for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
                const QImage a = ours.pixmap(size, mode).toImage();
                const QImage b = theirs.pixmap(size, mode).toImage();
                EXPECT_FALSE(a.isNull());
                EXPECT_EQ(a, b) << "size " << side << ", mode " << mode;
            }
        }
        // A copy of an icon not yet loaded draws the same.
        const QIcon copy = QIcon(style->standardIcon(c.which));
        EXPECT_EQ(copy.pixmap(QSize(16, 16)).toImage(), theirs.pixmap(QSize(16, 16)).toImage());
    }
}

} // namespace

#include "app/CameraStatusBar.h"

#include <QLabel>
#include <QStyle>

CCameraStatusBar::CCameraStatusBar(QWidget* parent) : QStatusBar(parent), m_camera(new QLabel(this))
{
    setAccessibleName(QStringLiteral("Status"));
    m_camera->setAccessibleName(QStringLiteral("Camera"));
    // A long line (a failure's reason) goes on in a second line rather than being cut off.
    m_camera->setWordWrap(true);
    // A permanent widget stays when a menu item's tip is shown in the bar.
    addPermanentWidget(m_camera, 1);
    Show({});
}

void CCameraStatusBar::Show(const AttachedCamera& camera)
{
    m_camera->setText(QString::fromStdString(AttachedCameraText(camera)));
    m_camera->setAccessibleDescription(m_camera->text());
    // The bar itself says it too, for a reader that stops at the bar.
    setAccessibleDescription(m_camera->text());
}

void CCameraStatusBar::FitTo(int width)
{
    // The text gets the bar's width less the size grip's corner on either side.
    const int room = width - 2 * style()->pixelMetric(QStyle::PM_SizeGripSize);
    if (room > 0)
        m_camera->setFixedHeight(m_camera->heightForWidth(room));
}

QString CCameraStatusBar::Text() const
{
    return m_camera->text();
}

#include "app/CameraStatusBar.h"

#include <QLabel>

CCameraStatusBar::CCameraStatusBar(QWidget* parent) : QStatusBar(parent), m_camera(new QLabel(this))
{
    setSizeGripEnabled(false); // the window has a fixed size
    setAccessibleName(QStringLiteral("Status"));
    m_camera->setAccessibleName(QStringLiteral("Camera"));
    // A permanent widget stays when a menu item's tip is shown in the bar.
    addPermanentWidget(m_camera, 1);
    Show({});
}

void CCameraStatusBar::Show(const AttachedCamera& camera)
{
    m_camera->setText(QString::fromStdString(AttachedCameraText(camera)));
    m_camera->setAccessibleDescription(m_camera->text());
}

QString CCameraStatusBar::Text() const
{
    return m_camera->text();
}

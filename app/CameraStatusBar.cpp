#include "app/CameraStatusBar.h"

#include <QLabel>
#include <QResizeEvent>

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
    FitText();
}

void CCameraStatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    FitText();
}

void CCameraStatusBar::FitText()
{
    // The bar is as tall as the text needs at the width it has.
    if (m_camera->width() > 0)
        m_camera->setMinimumHeight(m_camera->heightForWidth(m_camera->width()));
}

QString CCameraStatusBar::Text() const
{
    return m_camera->text();
}

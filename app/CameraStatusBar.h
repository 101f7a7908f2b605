// The main window's status bar: the port, and the model and serial number of the camera on it.
#pragma once

#include "app/AttachedCamera.h"

#include <QStatusBar>

class QLabel;

class CCameraStatusBar : public QStatusBar {
public:
    explicit CCameraStatusBar(QWidget* parent = nullptr);

    void Show(const AttachedCamera& camera);
    QString Text() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitText();

    QLabel* m_camera;
};

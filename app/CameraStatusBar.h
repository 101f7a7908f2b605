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
    // Takes the height its text needs in a window of this width: a long line (a failure's
    // reason) goes on in a second line rather than being cut off.
    void FitTo(int width);

private:
    QLabel* m_camera;
};

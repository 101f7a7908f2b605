#include "platform/ui/MainWindow.h"

#include <QPointer>
#include <QWidget>

namespace ui {
namespace {
QPointer<QWidget> g_mainWindow;
} // namespace

void SetMainWindow(QWidget* window)
{
    g_mainWindow = window;
}

QWidget* GetMainWindow()
{
    return g_mainWindow.data();
}

} // namespace ui

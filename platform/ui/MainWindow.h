// The application's main window: the owner of message boxes and modal dialogs that are given
// no parent of their own.
#pragma once

class QWidget;

namespace ui {

void SetMainWindow(QWidget* window);
// Null while there is none.
QWidget* GetMainWindow();

} // namespace ui

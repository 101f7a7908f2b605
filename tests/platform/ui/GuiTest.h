// What the GUI tests share: they run on the offscreen platform with real widgets.
#pragma once

#include <QWidget>

#include <functional>

namespace gui_test {

// Calls handle with the first modal window once one is shown (a dialog run by DoModal, a
// message box); gives up after timeoutMs. Returns at once; handle runs from the event loop.
void WhenModal(std::function<void(QWidget*)> handle, int timeoutMs = 10000);

// Lets the event loop run until done() holds or timeoutMs passed; returns done().
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);

// The centre of a widget in its own coordinates.
QPoint Centre(const QWidget* widget);

} // namespace gui_test

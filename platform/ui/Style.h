// The application's style: the platform's own, except that icons a window may never show are
// loaded when first painted rather than when the window is built.
#pragma once

class QStyle;

namespace ui {

// A style over the platform's default; the caller hands it to QApplication::setStyle().
QStyle* CreateApplicationStyle();

} // namespace ui

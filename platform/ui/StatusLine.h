// A short word on what a command did, for the main window's status bar. Pages say it here
// without knowing the window; the window installs the handler that shows it.
#pragma once

#include <functional>
#include <string>

namespace ui {

using StatusLineHandler = std::function<void(const std::string& text)>;

// Replaces the handler; an empty one drops the words (no window, or tests).
void SetStatusLineHandler(StatusLineHandler handler);
void ShowStatusLine(const std::string& text);

} // namespace ui

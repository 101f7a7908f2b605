// The menu bar from a menu resource. Captions keep their "&" mnemonics.
#pragma once

#include <functional>

class QMenuBar;

namespace ui {

// Fills bar from menu menuId; choosing an item (or a command on the bar itself) calls
// onCommand with its command id. False when the menu is missing.
bool LoadMenu(QMenuBar* bar, int menuId, std::function<void(int command)> onCommand);

} // namespace ui

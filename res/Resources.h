// Makes the program's resources known to the dialog layer.
#pragma once

namespace res {

// Installs templates, the menu and the images; calling it again changes nothing.
void Install();

} // namespace res

// The name under which screen readers and tools that drive the window find a control: its own
// caption, else the label just before it in the template, else the caption of the group box
// that frames it.
#pragma once

#include "platform/ui/Template.h"

#include <cstddef>
#include <string>
#include <vector>

namespace ui {

// Name of controls[index]; empty when none of the three gives one. Mnemonic "&" marks are
// dropped ("&&" stays one "&").
std::string AccessibleName(const std::vector<ControlTemplate>& controls, std::size_t index);

} // namespace ui

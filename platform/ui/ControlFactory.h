// Builds one control of a dialog template as a Qt widget.
#pragma once

#include "platform/ui/DialogUnits.h"
#include "platform/ui/Template.h"

class QWidget;

namespace ui {

// Creates the control inside parent at its template rectangle. previous is the control created
// just before it (an up-down control with AutoBuddy takes it as its buddy). Returns the widget,
// which carries the control id as its "ui_id" property.
QWidget* CreateControl(const ControlTemplate& control, const DialogUnits& units, QWidget* parent,
                       QWidget* previous);

} // namespace ui

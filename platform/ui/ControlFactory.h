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

// A label's or a group box's "&x" moves the focus to the control that follows it in the
// template, as a dialog's mnemonic does: target is that control.
void SetMnemonicTarget(QWidget* labelOrGroup, QWidget* target);

} // namespace ui

#pragma once
// Makes the Qt widget of one template control, placed in pixels and named after its id.

#include "framework/dialog_template.h"
#include "framework/qt/dialog_units.h"

class QWidget;

namespace azu {

// The widget for `control`, a child of `parent`; null for a kind the framework cannot make.
QWidget* CreateControl(const ControlTemplate& control, QWidget* parent, DialogBaseUnits units);

}  // namespace azu

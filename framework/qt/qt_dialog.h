#pragma once
// The Qt back end's side of the framework's handles: a handle is the control's QWidget, named
// after its id so that code and tests find control 1015 without knowing the widget.

#include <QString>
#include <QWidget>
#include <vector>

#include "framework/dialog.h"
#include "framework/window_handle.h"

namespace azu {

inline QWidget* QtWidget(WindowHandle handle) {
  return reinterpret_cast<QWidget*>(handle);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}
inline WindowHandle HandleOf(QWidget* widget) {
  return reinterpret_cast<WindowHandle>(
      widget);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}

// objectName of the control with `id` ("id1015").
QString ControlName(int id);

// The controls Tab walks, in template order: tab stops that are visible and enabled, of a radio
// group the checked button, and right after a control the stops of the child dialogs it hosts
// (a page on the tab strip), as the Windows dialog manager walks a control parent.
std::vector<QWidget*> TabStops(const Dialog& dialog);

}  // namespace azu

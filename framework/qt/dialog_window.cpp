#include "framework/qt/dialog_window.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <cstddef>
#include <vector>

#include "framework/dialog.h"
#include "framework/message_box.h"
#include "framework/qt/qt_dialog.h"

namespace azu {

namespace {

Qt::WindowFlags FlagsFor(DialogFrame frame) {
  constexpr Qt::WindowFlags kModalFrame = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                          Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  switch (frame) {
    case DialogFrame::Application:
      return (kModalFrame & ~Qt::Dialog) | Qt::Window | Qt::WindowMinimizeButtonHint;
    case DialogFrame::Modal:
      return kModalFrame;
    case DialogFrame::Child:
      return Qt::Widget;
  }
  return kModalFrame;
}

}  // namespace

DialogWindow::DialogWindow(Dialog& owner, QWidget* parent, bool child)
    : QDialog(parent, FlagsFor(child ? DialogFrame::Child : owner.Template().frame)),
      owner_(owner) {
  // QDialog makes itself a window whatever the flags say; a page lives inside its parent.
  if (child) setWindowFlags(Qt::Widget);
}

void DialogWindow::reject() {
  owner_.Command(IDCANCEL);
}

void DialogWindow::accept() {
  owner_.Command(IDOK);
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
  event->ignore();
}

bool DialogWindow::focusNextPrevChild(bool next) {
  if (!isWindow()) return QDialog::focusNextPrevChild(next);
  const std::vector<QWidget*> stops = TabStops(owner_);
  if (stops.empty()) return false;
  // The stop holding the focus; a page's stops come after the control hosting it, so the last
  // match is the innermost.
  const QWidget* focus = QApplication::focusWidget();
  std::ptrdiff_t at = -1;
  for (std::size_t i = 0; i < stops.size(); ++i) {
    if (focus != nullptr && (stops[i] == focus || stops[i]->isAncestorOf(focus))) {
      at = static_cast<std::ptrdiff_t>(i);
    }
  }
  const auto count = static_cast<std::ptrdiff_t>(stops.size());
  const std::ptrdiff_t to = at < 0 ? (next ? 0 : count - 1) : (at + (next ? 1 : count - 1)) % count;
  stops[static_cast<std::size_t>(to)]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
  const bool plain = event->modifiers() == Qt::NoModifier ||
                     (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!isWindow() && plain && (enter || event->key() == Qt::Key_Escape)) {
    event->ignore();  // the window's, as for any of its controls
    return;
  }
  if (plain && enter) {
    owner_.Command(owner_.DefaultCommand());
    event->accept();
    return;
  }
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  const bool ctrlTab = event->key() == Qt::Key_Tab && modifiers == Qt::ControlModifier;
  const bool ctrlShiftTab = (event->key() == Qt::Key_Backtab || event->key() == Qt::Key_Tab) &&
                            modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
  if (isWindow() && (ctrlTab || ctrlShiftTab) && owner_.SelectNextTab(ctrlTab)) {
    event->accept();
    return;
  }
  if (plain && event->key() == Qt::Key_Escape) {
    owner_.Command(IDCANCEL);
    event->accept();
    return;
  }
  // Not QDialog's: it would accept or reject on its own.
  QWidget::keyPressEvent(event);  // NOLINT(bugprone-parent-virtual-call)
}

}  // namespace azu

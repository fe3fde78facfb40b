#include "framework/dialog_window.h"

#include <QContextMenuEvent>
#include <QKeyEvent>

#include "framework/dialog.h"
#include "framework/message_box.h"

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

void DialogWindow::keyPressEvent(QKeyEvent* event) {
  const bool plain = event->modifiers() == Qt::NoModifier ||
                     (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
  if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    int command = IDOK;
    for (const ControlTemplate& control : owner_.Template().controls) {
      if (control.kind == ControlKind::DefPushButton) command = control.id;
    }
    owner_.Command(command);
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

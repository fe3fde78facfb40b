#pragma once
// The Qt window of a Dialog: routes Enter, Escape and the close box to the dialog's commands, as
// the Windows dialog manager does, instead of Qt's own accept/reject.

#include <QDialog>

namespace azu {

class Dialog;

class DialogWindow final : public QDialog {
  Q_OBJECT

 public:
  DialogWindow(Dialog& owner, QWidget* parent, bool child);

  void reject() override;  // close box
  void accept() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Not QDialog's "What's This?" menu: the window's own menu, from wherever it is asked for.
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  Dialog& owner_;
};

}  // namespace azu

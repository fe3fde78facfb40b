#pragma once
// The Qt window of a Dialog: routes Enter, Escape, Tab, Ctrl+Tab and the close box as the Windows
// dialog manager does, instead of Qt's own accept/reject and focus chain. A page inside a window
// leaves these keys to the window.

#include <QDialog>

namespace azu {

class Dialog;

class DialogWindow final : public QDialog {
  Q_OBJECT

 public:
  DialogWindow(Dialog& owner, QWidget* parent, bool child);

  void reject() override;  // close box
  void accept() override;
  [[nodiscard]] Dialog& Owner() const { return owner_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Tab and Shift+Tab walk the dialog's tab stops, into and out of the pages it hosts.
  bool focusNextPrevChild(bool next) override;
  // Not QDialog's "What's This?" menu: the window's own menu, from wherever it is asked for.
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  Dialog& owner_;
};

}  // namespace azu

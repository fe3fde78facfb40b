#include "framework/qt/qt_message_sink.h"

#include <QApplication>
#include <QMessageBox>

#include "framework/qt/qt_text.h"

namespace azu {

int QtMessageSink::Show(std::string_view text, unsigned type) {
  QWidget* owner = QApplication::activeModalWidget();
  if (owner == nullptr) owner = QApplication::activeWindow();
  QMessageBox box(owner);
  box.setWindowTitle(FromCp1252(ApplicationName()));
  box.setTextFormat(Qt::PlainText);
  box.setText(FromCp1252(text));
  switch (type) {
    case kErrorBox:
      box.setIcon(QMessageBox::Critical);
      break;
    case kQuestionBox:
      box.setIcon(QMessageBox::Question);
      break;
    case kInformationBox:
      box.setIcon(QMessageBox::Information);
      break;
    default:
      box.setIcon(QMessageBox::Warning);
      break;  // a notice box gets the exclamation
  }
  if (type == kQuestionBox) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? IDYES : IDNO;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return IDOK;
}

}  // namespace azu

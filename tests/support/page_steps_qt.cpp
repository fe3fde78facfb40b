#include "tests/support/page_steps.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include "framework/qt/qt_dialog.h"
#include "framework/qt/qt_text.h"

namespace azu::test {

bool Drive(Dialog& page, const PageStep& step) {
  QWidget* control = QtWidget(page.Item(step.id));
  switch (step.kind) {
    case PageStep::Kind::Type: {
      auto* edit = qobject_cast<QLineEdit*>(control);
      if (edit == nullptr) return false;
      edit->setText(FromCp1252(step.text));
      return true;
    }
    case PageStep::Kind::Choose: {
      auto* combo = qobject_cast<QComboBox*>(control);
      if (combo == nullptr) return false;
      combo->setCurrentIndex(step.index);
      emit combo->activated(step.index);
      return true;
    }
    case PageStep::Kind::Click: {
      auto* button = qobject_cast<QAbstractButton*>(control);
      if (button == nullptr) return false;
      button->click();
      return true;
    }
    case PageStep::Kind::Address:
      return page.IpAddress(step.id).SetText(step.text);
  }
  return false;
}

}  // namespace azu::test

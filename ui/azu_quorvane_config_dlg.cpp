#include "ui/azu_quorvane_config_dlg.h"

#include <QAction>
#include <QWidget>

#include "app/about_dlg.h"
#include "framework/qt_text.h"
#include "framework/wait_cursor.h"
#include "resources/dialogs/dialog_templates.h"

namespace azu {

CAzuQuorvaneConfigDlg::CAzuQuorvaneConfigDlg() : Dialog(kMainDialogTemplate) {}

bool CAzuQuorvaneConfigDlg::OnInitDialog() {
  const WaitCursor wait;
  Dialog::OnInitDialog();
  AddAboutEntry();
  return true;
}

// The window system gives the program no system menu here, so the About entry sits in the
// window's context menu, below a separator as it would in the system menu.
void CAzuQuorvaneConfigDlg::AddAboutEntry() {
  const char* text = kAboutBoxMenuText;
  if (text == nullptr || *text == '\0') return;
  QWidget* window = Window();
  window->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* separator = new QAction(window);
  separator->setSeparator(true);
  window->addAction(separator);
  auto* about = new QAction(FromCp1252(text), window);
  about->setObjectName(QStringLiteral("aboutAction"));
  QObject::connect(about, &QAction::triggered, window, [] {
    CAboutDlg dialog;
    dialog.DoModal();
  });
  window->addAction(about);
}

void CAzuQuorvaneConfigDlg::OnOK() {}

}  // namespace azu

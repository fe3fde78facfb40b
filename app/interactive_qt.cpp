#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/app_icon.h"
#include "app/azu_quorvane_config_app.h"
#include "app/interactive_run.h"
#include "app/text_table.h"
#include "framework/message_box.h"
#include "framework/qt/qt_message_sink.h"
#include "ui/azu_quorvane_config_dlg.h"

namespace azu {

// Only this run makes a QApplication: the headless watcher runs where no display exists.
int RunInteractive(int argc, char** argv) {
  CAzuQuorvaneConfigDlg mainWindow;  // builds the page objects; the window comes with DoModal
  const QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(kApplicationName));
  QApplication::setOrganizationName(QString::fromLatin1(kRegistryKey));
  QApplication::setWindowIcon(ApplicationIcon());

  // Qt's own button texts (Yes, No, OK) in the language of the table.
  QTranslator translator;
  const QString language = QString::fromLatin1(ProcessTextTable().Language());
  if (translator.load(QStringLiteral("qtbase_") + language,
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&translator);
  }

  QtMessageSink sink;
  const ScopedMessageSink installed(sink);
  mainWindow.DoModal();
  return 0;
}

}  // namespace azu

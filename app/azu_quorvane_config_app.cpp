#include "app/azu_quorvane_config_app.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/app_icon.h"
#include "app/command_line.h"
#include "app/text_table.h"
#include "attach/printer_ip_mode.h"
#include "framework/message_box.h"
#include "framework/qt_message_sink.h"
#include "platform/sockets.h"
#include "platform/system_language.h"
#include "ui/azu_quorvane_config_dlg.h"

namespace azu {

bool CAzuQuorvaneConfigApp::InitInstance(int argc, char** argv) {
  SetApplicationName(kApplicationName);
  if (!platform::StartSockets()) return false;
  if (platform::ReadSystemLanguage(g_systemLanguage, kLanguageBufferSize)) LoadTextTable();

  CAzuQuorvaneConfigDlg mainWindow;  // its pages exist in both modes; its window only here
  switch (ChooseStartMode(argc, argv)) {
    case StartMode::Interactive:
      RunInteractive(mainWindow, argc, argv);
      break;
    case StartMode::Headless:
      RunPrinterIpMode();
      break;
    case StartMode::Nothing:
      break;
  }
  return false;
}

// Only this path makes a QApplication: the headless watcher runs where no display exists.
void CAzuQuorvaneConfigApp::RunInteractive(CAzuQuorvaneConfigDlg& mainWindow, int argc,
                                           char** argv) {
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
}

}  // namespace azu

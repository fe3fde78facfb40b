// azuqvc: no argument opens the main window; "printerip" runs the headless watcher.

#include "app/azu_quorvane_config_app.h"

int main(int argc, char** argv) {
  azu::CAzuQuorvaneConfigApp application;
  application.InitInstance(argc, argv);
  return application.ExitCode();
}

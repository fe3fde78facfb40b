#include "resources/dialogs/dialog_templates.h"

namespace azu {

// The main window's frame; its controls come with the series list and the pages.
const DialogTemplate kMainDialogTemplate{
    IDD_AZUQUORVANECONFIG_DIALOG, 320, 269, DialogFrame::Application, "Azu Quorvane Config", {}};

}  // namespace azu

#include <array>

#include "framework/message_box.h"
#include "resources/dialogs/dialog_templates.h"

namespace azu {
namespace {

constexpr std::array kControls{
    ControlTemplate{-1, ControlKind::Icon, 11, 17, 20, 20, style::kNone, nullptr},
    ControlTemplate{1036, ControlKind::Static, 40, 10, 119, 8, style::kNone,
                    "Azu Quorvane Config Version 1.7"},
    ControlTemplate{1037, ControlKind::Static, 40, 25, 119, 8, style::kNone, "Copyright"},
    ControlTemplate{IDOK, ControlKind::DefPushButton, 178, 7, 50, 16, style::kGroup, "OK"},
};

}  // namespace

const DialogTemplate kAboutDialogTemplate{
    IDD_ABOUTBOX, 235, 55, DialogFrame::Modal, "About Azu Quorvane Config", kControls};

}  // namespace azu

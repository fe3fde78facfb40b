#include <array>

#include "framework/message_box.h"
#include "resources/dialogs/dialog_templates.h"

namespace azu {
namespace {

constexpr std::array kControls{
    ControlTemplate{1014, ControlKind::Static, 6, 6, 132, 8, style::kNone,
                    "Zorne Administrator Password:"},
    ControlTemplate{1015, ControlKind::Edit, 6, 18, 132, 14,
                    style::kPassword | style::kBorder | style::kAutoHScroll | style::kTabStop,
                    nullptr},
    ControlTemplate{IDOK, ControlKind::DefPushButton, 6, 42, 50, 14, style::kTabStop, "OK"},
    ControlTemplate{IDCANCEL, ControlKind::PushButton, 60, 42, 50, 14, style::kTabStop, "Cancel"},
};

}  // namespace

const DialogTemplate kAuthenticationDialogTemplate{
    IDD_ZORNEAUTHENTICATION, 148, 66, DialogFrame::Modal, "Zorne Authentication", kControls};

}  // namespace azu

#include <array>

#include "framework/message_box.h"
#include "resources/dialogs/dialog_templates.h"

namespace azu {
namespace {

constexpr std::array kControls{
    ControlTemplate{1041, ControlKind::ComboBox, 6, 6, 90, 63, style::kVScroll | style::kTabStop,
                    nullptr},
    ControlTemplate{1040, ControlKind::Static, 6, 24, 132, 8, style::kRight,
                    "Zorne Server Name or IP:"},
    ControlTemplate{1018, ControlKind::Edit, 144, 21, 102, 14,
                    style::kBorder | style::kAutoHScroll | style::kTabStop, nullptr},
    ControlTemplate{1019, ControlKind::PushButton, 252, 21, 50, 14, style::kTabStop, "Search..."},
    ControlTemplate{1000, ControlKind::TabControl, 6, 40, 306, 176,
                    style::kMultiLine | style::kTabStop, nullptr},
    ControlTemplate{IDOK, ControlKind::PushButton, 198, 252, 62, 14, style::kTabStop,
                    "Configure..."},
    ControlTemplate{IDCANCEL, ControlKind::PushButton, 264, 252, 50, 14, style::kTabStop, "Close"},
    ControlTemplate{1061, ControlKind::Static, 6, 222, 306, 24, style::kSunken, nullptr},
};

}  // namespace

const DialogTemplate kMainDialogTemplate{
    IDD_AZUQUORVANECONFIG_DIALOG, 320,      269, DialogFrame::Application,
    "Azu Quorvane Config",        kControls};

}  // namespace azu

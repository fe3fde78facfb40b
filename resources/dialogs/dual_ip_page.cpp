#include <array>

#include "resources/dialogs/dialog_templates.h"

namespace azu {
namespace {

constexpr std::array kControls{
    ControlTemplate{1022, ControlKind::RadioButton, 12, 6, 65, 10, style::kGroup | style::kTabStop,
                    "Add"},
    ControlTemplate{1023, ControlKind::RadioButton, 80, 6, 65, 10, style::kNone, "Delete"},
    ControlTemplate{1026, ControlKind::Static, 6, 27, 84, 8, style::kRight, "IP Address:"},
    ControlTemplate{1008, ControlKind::IPAddress, 96, 24, 100, 15, style::kTabStop, nullptr},
    ControlTemplate{1027, ControlKind::Static, 6, 51, 84, 8, style::kRight, "Subnet Mask:"},
    ControlTemplate{1009, ControlKind::IPAddress, 96, 48, 100, 15, style::kTabStop, nullptr},
};

}  // namespace

const DialogTemplate kDualIpPageTemplate{IDD_DUALIP,         kPageWidth, kPageHeight,
                                         DialogFrame::Child, nullptr,    kControls};

}  // namespace azu

#include <array>

#include "resources/dialogs/dialog_templates.h"

namespace azu {
namespace {

constexpr std::uint32_t kEdit = style::kBorder | style::kAutoHScroll | style::kTabStop;

constexpr std::array kControls{
    ControlTemplate{1055, ControlKind::Static, 6, 8, 27, 8, style::kNone, "Version:"},
    ControlTemplate{1041, ControlKind::ComboBox, 36, 6, 60, 42,
                    style::kSort | style::kVScroll | style::kTabStop, nullptr},
    ControlTemplate{1048, ControlKind::GroupBox, 6, 24, 276, 60, style::kNone,
                    "SNMPv1/2c Settings"},
    ControlTemplate{1050, ControlKind::Static, 12, 39, 96, 8, style::kRight, "GET Community Name:"},
    ControlTemplate{1042, ControlKind::Edit, 114, 36, 162, 14, kEdit, nullptr},
    ControlTemplate{1051, ControlKind::Static, 12, 63, 96, 8, style::kRight, "SET Community Name:"},
    ControlTemplate{1043, ControlKind::Edit, 114, 60, 162, 14, kEdit, nullptr},
    ControlTemplate{1049, ControlKind::GroupBox, 6, 90, 276, 54, style::kNone, "SNMPv3 Settings"},
    ControlTemplate{1052, ControlKind::Static, 12, 105, 108, 8, style::kRight,
                    "Authentication Password:"},
    ControlTemplate{1044, ControlKind::Edit, 126, 102, 102, 14, kEdit | style::kPassword, nullptr},
    ControlTemplate{1053, ControlKind::Static, 12, 129, 108, 8, style::kRight, "Privacy Password:"},
    ControlTemplate{1045, ControlKind::Edit, 126, 126, 102, 14, kEdit | style::kPassword, nullptr},
};

}  // namespace

const DialogTemplate kSnmpPageTemplate{IDD_SNMP,           kPageWidth, kPageHeight,
                                       DialogFrame::Child, nullptr,    kControls};

}  // namespace azu

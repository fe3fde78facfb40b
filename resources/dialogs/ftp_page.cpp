#include <array>

#include "resources/dialogs/dialog_templates.h"

namespace azu {
namespace {

constexpr std::uint32_t kEdit = style::kBorder | style::kAutoHScroll | style::kTabStop;

constexpr std::array kControls{
    ControlTemplate{1031, ControlKind::Static, 6, 9, 120, 8, style::kRight, "Server Name or IP:"},
    ControlTemplate{1016, ControlKind::Edit, 132, 6, 102, 14, kEdit, nullptr},
    ControlTemplate{1032, ControlKind::Static, 6, 33, 120, 8, style::kRight, "Username:"},
    ControlTemplate{1017, ControlKind::Edit, 132, 30, 102, 14, kEdit, nullptr},
    ControlTemplate{1033, ControlKind::Static, 6, 57, 120, 8, style::kRight, "Password:"},
    ControlTemplate{1015, ControlKind::Edit, 132, 54, 102, 14, kEdit | style::kPassword, nullptr},
    ControlTemplate{1034, ControlKind::Static, 6, 81, 120, 8, style::kRight,
                    "Destination Directory:"},
    ControlTemplate{1035, ControlKind::Static, 6, 96, 174, 8, style::kNone,
                    "(leave blank for FTP root directory)"},
    ControlTemplate{1019, ControlKind::Edit, 132, 78, 150, 14, kEdit, nullptr},
};

}  // namespace

const DialogTemplate kFtpPageTemplate{IDD_FTP, kPageWidth, kPageHeight, DialogFrame::Child,
                                      nullptr, kControls};

}  // namespace azu

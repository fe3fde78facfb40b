#include <array>

#include "resources/dialogs/dialog_templates.h"

namespace azu {
namespace {

constexpr std::uint32_t kPortEdit =
    style::kBorder | style::kAutoHScroll | style::kTabStop | style::kNumber;

constexpr std::array kControls{
    ControlTemplate{1054, ControlKind::Static, 7, 10, 47, 8, style::kRight, "HTTP Port:"},
    ControlTemplate{1046, ControlKind::Edit, 60, 6, 40, 14, kPortEdit, nullptr},
    ControlTemplate{1055, ControlKind::Static, 6, 33, 48, 8, style::kRight, "HTTPS Port:"},
    ControlTemplate{1047, ControlKind::Edit, 60, 30, 40, 14, kPortEdit, nullptr},
};

}  // namespace

const DialogTemplate kHttpPageTemplate{IDD_HTTP,           kPageWidth, kPageHeight,
                                       DialogFrame::Child, nullptr,    kControls};

}  // namespace azu

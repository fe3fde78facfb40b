#include <array>

#include "resources/dialogs/dialog_templates.h"

namespace azu {
namespace {

constexpr std::array kControls{
    ControlTemplate{1056, ControlKind::Static, 6, 9, 102, 8, style::kRight, "Admin Password:"},
    ControlTemplate{1015, ControlKind::Edit, 114, 6, 102, 14,
                    style::kPassword | style::kBorder | style::kAutoHScroll | style::kTabStop,
                    nullptr},
};

}  // namespace

const DialogTemplate kAdminPageTemplate{IDD_ADMIN,          kPageWidth, kPageHeight,
                                        DialogFrame::Child, nullptr,    kControls};

}  // namespace azu

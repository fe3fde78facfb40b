#include <array>

#include "resources/dialogs/dialog_templates.h"

namespace azu {
namespace {

constexpr std::uint32_t kEdit = style::kBorder | style::kAutoHScroll | style::kTabStop;

// The dependent controls start disabled: they match the accounting system None.
constexpr std::array kControls{
    ControlTemplate{1062, ControlKind::Static, 6, 12, 96, 8, style::kRight, "Accounting System:"},
    ControlTemplate{1063, ControlKind::ComboBox, 108, 12, 126, 41,
                    style::kVScroll | style::kTabStop, nullptr},
    ControlTemplate{1060, ControlKind::Static, 6, 30, 96, 8, style::kRight, "Account Type:"},
    ControlTemplate{1041, ControlKind::ComboBox, 108, 30, 126, 43,
                    style::kVScroll | style::kTabStop | style::kDisabled, nullptr},
    ControlTemplate{1059, ControlKind::Static, 38, 51, 64, 8, style::kRight, "AccountID:"},
    ControlTemplate{1057, ControlKind::Edit, 108, 48, 126, 14, kEdit | style::kDisabled, nullptr},
    ControlTemplate{1028, ControlKind::Static, 36, 75, 66, 8, style::kRight, "UserID:"},
    ControlTemplate{1012, ControlKind::Edit, 108, 72, 126, 14, kEdit | style::kDisabled, nullptr},
};

}  // namespace

const DialogTemplate kAccountingPageTemplate{IDD_ACCOUNTING,     kPageWidth, kPageHeight,
                                             DialogFrame::Child, nullptr,    kControls};

}  // namespace azu

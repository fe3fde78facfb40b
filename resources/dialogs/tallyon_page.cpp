#include <array>

#include "resources/dialogs/dialog_templates.h"

namespace azu {
namespace {

constexpr std::uint32_t kEdit = style::kBorder | style::kAutoHScroll | style::kTabStop;

constexpr std::array kControls{
    ControlTemplate{1028, ControlKind::Static, 6, 9, 72, 8, style::kRight, "UserID:"},
    ControlTemplate{1012, ControlKind::Edit, 84, 6, 102, 14, kEdit, nullptr},
    ControlTemplate{1029, ControlKind::Static, 10, 33, 68, 8, style::kRight, "Passcode:"},
    ControlTemplate{1013, ControlKind::Edit, 84, 30, 102, 14, kEdit | style::kPassword, nullptr},
};

}  // namespace

const DialogTemplate kTallyonPageTemplate{IDD_TALLYON,        kPageWidth, kPageHeight,
                                          DialogFrame::Child, nullptr,    kControls};

}  // namespace azu

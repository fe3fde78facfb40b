#include <array>

#include "framework/message_box.h"
#include "resources/dialogs/dialog_templates.h"

namespace azu {
namespace {

constexpr std::array kControls{
    ControlTemplate{1038, ControlKind::Static, 6, 6, 96, 8, style::kNone, "Zornes:"},
    ControlTemplate{1001, ControlKind::ListView, 6, 18, 180, 132,
                    style::kSingleSel | style::kShowSelAlways | style::kSort | style::kNoHeader |
                        style::kSunken | style::kTabStop,
                    nullptr},
    ControlTemplate{IDOK, ControlKind::DefPushButton, 78, 156, 50, 14, style::kTabStop, "OK"},
    ControlTemplate{IDCANCEL, ControlKind::PushButton, 132, 156, 50, 14, style::kTabStop, "Cancel"},
};

}  // namespace

const DialogTemplate kZorneSearchDialogTemplate{IDD_ZORNESEARCH, 196,      178, DialogFrame::Modal,
                                                "Zorne Search",  kControls};

}  // namespace azu

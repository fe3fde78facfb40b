#pragma once
// A dialog template as the Windows dialog manager reads it (DLGTEMPLATEEX and its items, in
// memory), made from the program's own template table: one description, rendered here with the
// real controls of Windows.

#include <cstdint>
#include <vector>

#include "framework/dialog_template.h"

namespace azu {

// The resource id of the application icon the icon static shows.
inline constexpr std::uint16_t kApplicationIconId = 128;

// The template's bytes, DWORD-aligned; `child` makes a control-parent child without caption.
std::vector<std::uint32_t> BuildDialogResource(const DialogTemplate& dialogTemplate, bool child);

}  // namespace azu

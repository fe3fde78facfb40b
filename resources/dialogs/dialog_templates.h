#pragma once
// The program's dialog templates and resource strings (the texts before the table's replace them).

#include "framework/dialog_template.h"

namespace azu {

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_AZUQUORVANECONFIG_DIALOG = 102;

// String 101: the About entry of the main window's menu (English only, not from the table).
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr const char* kAboutBoxMenuText = "&About Azu Quorvane Config...";

extern const DialogTemplate kAboutDialogTemplate;
extern const DialogTemplate kMainDialogTemplate;

}  // namespace azu

#pragma once
// The program's dialog templates and resource strings (the texts before the table's replace them).

#include "framework/dialog_template.h"

namespace azu {

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_AZUQUORVANECONFIG_DIALOG = 102;
inline constexpr int IDD_DUALIP = 129;
inline constexpr int IDD_TALLYON = 130;
inline constexpr int IDD_ZORNEAUTHENTICATION = 135;
inline constexpr int IDD_FTP = 136;
inline constexpr int IDD_ZORNESEARCH = 137;
inline constexpr int IDD_SNMP = 139;
inline constexpr int IDD_HTTP = 140;
inline constexpr int IDD_ADMIN = 141;
inline constexpr int IDD_ACCOUNTING = 142;

// Every configuration page is a child dialog of this size, without caption.
inline constexpr int kPageWidth = 290;
inline constexpr int kPageHeight = 152;

// String 101: the About entry of the main window's menu (English only, not from the table).
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr const char* kAboutBoxMenuText = "&About Azu Quorvane Config...";

extern const DialogTemplate kAboutDialogTemplate;
extern const DialogTemplate kMainDialogTemplate;
extern const DialogTemplate kZorneSearchDialogTemplate;
extern const DialogTemplate kAuthenticationDialogTemplate;
extern const DialogTemplate kAccountingPageTemplate;
extern const DialogTemplate kAdminPageTemplate;
extern const DialogTemplate kTallyonPageTemplate;
extern const DialogTemplate kDualIpPageTemplate;
extern const DialogTemplate kFtpPageTemplate;
extern const DialogTemplate kHttpPageTemplate;
extern const DialogTemplate kSnmpPageTemplate;

}  // namespace azu

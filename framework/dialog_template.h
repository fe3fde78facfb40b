#pragma once
// Dialog templates as data: the controls of a dialog with their ids, kinds, positions in dialog
// units, styles and resource texts. The dialog framework builds windows from them.

#include <cstdint>
#include <span>

namespace azu {

enum class ControlKind : std::uint8_t {
  Static,         // text label
  Icon,           // static showing the application icon
  Edit,           // single-line edit
  PushButton,     // push button; id IDOK/IDCANCEL send those commands
  DefPushButton,  // default push button
  RadioButton,    // automatic radio button
  GroupBox,       // frame with a caption
  ComboBox,       // drop-down list
  ListView,       // report-view list
  TabControl,     // tab strip hosting child dialogs
  IPAddress,      // four-octet IPv4 address field
};

// Control styles (bit flags).
namespace style {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kRight = 1U << 0;           // right-aligned static
inline constexpr std::uint32_t kSunken = 1U << 1;          // sunken static / client edge
inline constexpr std::uint32_t kPassword = 1U << 2;        // edit shows masking characters
inline constexpr std::uint32_t kNumber = 1U << 3;          // edit takes digits only
inline constexpr std::uint32_t kAutoHScroll = 1U << 4;     // edit scrolls horizontally
inline constexpr std::uint32_t kBorder = 1U << 5;          // edit border
inline constexpr std::uint32_t kDisabled = 1U << 6;        // initially disabled
inline constexpr std::uint32_t kGroup = 1U << 7;           // first control of a group
inline constexpr std::uint32_t kTabStop = 1U << 8;         // reached with Tab
inline constexpr std::uint32_t kSort = 1U << 9;            // combo/list keeps items sorted
inline constexpr std::uint32_t kVScroll = 1U << 10;        // vertical scroll bar
inline constexpr std::uint32_t kMultiLine = 1U << 11;      // tab control: several rows of tabs
inline constexpr std::uint32_t kSingleSel = 1U << 12;      // list: one selected item
inline constexpr std::uint32_t kShowSelAlways = 1U << 13;  // list: selection shown unfocused
inline constexpr std::uint32_t kNoHeader = 1U << 14;       // list: no column header
inline constexpr std::uint32_t kHidden = 1U << 15;         // initially invisible
}  // namespace style

struct ControlTemplate {
  int id;  // -1 for statics nobody addresses
  ControlKind kind;
  int x, y, w, h;  // dialog units
  std::uint32_t style;
  const char* text;  // resource text (Windows-1252), may be null
};

enum class DialogFrame : std::uint8_t {
  Application,  // the program's own window: modal frame, caption, minimise box, task bar entry
  Modal,        // top-level modal frame with caption
  Child,        // child window without caption, created invisible
};

struct DialogTemplate {
  int id;
  int w, h;  // dialog units
  DialogFrame frame;
  const char* caption;  // resource caption (Windows-1252), may be null
  std::span<const ControlTemplate> controls;
};

}  // namespace azu

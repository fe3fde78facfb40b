#include "framework/win32/dialog_resource.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "framework/win32/win32_dialog.h"

namespace azu {
namespace {

constexpr std::uint16_t kDialogFontPoints = 8;
constexpr const wchar_t* kDialogFont = L"MS Shell Dlg";

// Predefined control classes, as dialog templates name them by ordinal.
constexpr std::uint16_t kButtonClass = 0x0080;
constexpr std::uint16_t kEditClass = 0x0081;
constexpr std::uint16_t kStaticClass = 0x0082;
constexpr std::uint16_t kComboBoxClass = 0x0085;

bool Has(const ControlTemplate& control, std::uint32_t flag) {
  return (control.style & flag) != 0;
}

class ResourceWriter {
 public:
  void Word(std::uint16_t value) { Append(&value, sizeof value); }
  void Dword(std::uint32_t value) { Append(&value, sizeof value); }
  void Short(std::int16_t value) { Append(&value, sizeof value); }
  void Byte(std::uint8_t value) { bytes_.push_back(value); }
  void Text(const std::wstring& text) { Append(text.c_str(), (text.size() + 1) * sizeof(wchar_t)); }
  void Ordinal(std::uint16_t value) {
    Word(0xFFFF);
    Word(value);
  }
  void AlignToDword() {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  }
  [[nodiscard]] std::vector<std::uint32_t> Take() {
    AlignToDword();
    std::vector<std::uint32_t> words(bytes_.size() / 4);
    std::memcpy(words.data(), bytes_.data(), bytes_.size());
    return words;
  }

 private:
  void Append(const void* data, std::size_t size) {
    const auto* begin = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), begin, begin + size);
  }
  std::vector<std::uint8_t> bytes_;
};

struct ItemClass {
  std::uint16_t ordinal = 0;      // a predefined class, or 0
  const wchar_t* name = nullptr;  // a registered class (common controls)
};

struct ItemStyle {
  ItemClass windowClass;
  DWORD style = 0;
  DWORD exStyle = 0;
};

ItemStyle StyleOf(const ControlTemplate& control) {
  ItemStyle item;
  switch (control.kind) {
    case ControlKind::Static:
      item.windowClass.ordinal = kStaticClass;
      item.style = Has(control, style::kRight) ? SS_RIGHT : SS_LEFT;
      if (Has(control, style::kSunken)) item.style |= SS_SUNKEN;
      break;
    case ControlKind::Icon:
      item.windowClass.ordinal = kStaticClass;
      item.style = SS_ICON;
      break;
    case ControlKind::Edit:
      item.windowClass.ordinal = kEditClass;
      item.style = ES_LEFT;
      if (Has(control, style::kAutoHScroll)) item.style |= ES_AUTOHSCROLL;
      if (Has(control, style::kBorder)) item.style |= WS_BORDER;
      if (Has(control, style::kPassword)) item.style |= ES_PASSWORD;
      if (Has(control, style::kNumber)) item.style |= ES_NUMBER;
      break;
    case ControlKind::PushButton:
      item.windowClass.ordinal = kButtonClass;
      item.style = BS_PUSHBUTTON;
      break;
    case ControlKind::DefPushButton:
      item.windowClass.ordinal = kButtonClass;
      item.style = BS_DEFPUSHBUTTON;
      break;
    case ControlKind::RadioButton:
      item.windowClass.ordinal = kButtonClass;
      item.style = BS_AUTORADIOBUTTON;
      break;
    case ControlKind::GroupBox:
      item.windowClass.ordinal = kButtonClass;
      item.style = BS_GROUPBOX;
      break;
    case ControlKind::ComboBox:
      item.windowClass.ordinal = kComboBoxClass;
      item.style = CBS_DROPDOWNLIST;
      if (Has(control, style::kSort)) item.style |= CBS_SORT;
      if (Has(control, style::kVScroll)) item.style |= WS_VSCROLL;
      break;
    case ControlKind::ListView:
      item.windowClass.name = WC_LISTVIEWW;
      item.style = LVS_REPORT;
      if (Has(control, style::kSingleSel)) item.style |= LVS_SINGLESEL;
      if (Has(control, style::kShowSelAlways)) item.style |= LVS_SHOWSELALWAYS;
      if (Has(control, style::kSort)) item.style |= LVS_SORTASCENDING;
      if (Has(control, style::kNoHeader)) item.style |= LVS_NOCOLUMNHEADER;
      if (Has(control, style::kBorder)) item.style |= WS_BORDER;
      break;
    case ControlKind::TabControl:
      item.windowClass.name = WC_TABCONTROLW;
      item.style = WS_CLIPCHILDREN;
      if (Has(control, style::kMultiLine)) item.style |= TCS_MULTILINE;
      break;
    case ControlKind::IPAddress:
      item.windowClass.name = WC_IPADDRESSW;
      break;
  }
  if (Has(control, style::kSunken) && control.kind != ControlKind::Static) {
    item.exStyle |= WS_EX_CLIENTEDGE;
  }
  item.style |= WS_CHILD;
  if (!Has(control, style::kHidden)) item.style |= WS_VISIBLE;
  if (Has(control, style::kDisabled)) item.style |= WS_DISABLED;
  if (Has(control, style::kGroup)) item.style |= WS_GROUP;
  if (Has(control, style::kTabStop)) item.style |= WS_TABSTOP;
  return item;
}

DWORD DialogStyle(DialogFrame frame, bool child) {
  constexpr DWORD kFont = DS_SETFONT | DS_FIXEDSYS;  // "MS Shell Dlg" is the shell's font
  if (child) return kFont | DS_CONTROL | WS_CHILD;
  constexpr DWORD kModal = kFont | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  return frame == DialogFrame::Application ? kModal | WS_MINIMIZEBOX : kModal;
}

}  // namespace

std::vector<std::uint32_t> BuildDialogResource(const DialogTemplate& dialogTemplate, bool child) {
  ResourceWriter out;
  out.Word(1);       // dlgVer
  out.Word(0xFFFF);  // signature: DLGTEMPLATEEX
  out.Dword(0);      // helpID
  const bool application = !child && dialogTemplate.frame == DialogFrame::Application;
  out.Dword(child ? WS_EX_CONTROLPARENT : (application ? WS_EX_APPWINDOW : 0));
  out.Dword(DialogStyle(dialogTemplate.frame, child));
  out.Word(static_cast<std::uint16_t>(dialogTemplate.controls.size()));
  out.Short(0);
  out.Short(0);
  out.Short(static_cast<std::int16_t>(dialogTemplate.w));
  out.Short(static_cast<std::int16_t>(dialogTemplate.h));
  out.Word(0);  // no menu
  out.Word(0);  // the dialog class
  out.Text(child ? std::wstring()
                 : WideFromCp1252(dialogTemplate.caption != nullptr ? dialogTemplate.caption : ""));
  out.Word(kDialogFontPoints);
  out.Word(FW_NORMAL);
  out.Byte(0);  // not italic
  out.Byte(DEFAULT_CHARSET);
  out.Text(kDialogFont);

  for (const ControlTemplate& control : dialogTemplate.controls) {
    out.AlignToDword();
    const ItemStyle item = StyleOf(control);
    out.Dword(0);  // helpID
    out.Dword(item.exStyle);
    out.Dword(item.style);
    out.Short(static_cast<std::int16_t>(control.x));
    out.Short(static_cast<std::int16_t>(control.y));
    out.Short(static_cast<std::int16_t>(control.w));
    out.Short(static_cast<std::int16_t>(control.h));
    out.Dword(static_cast<std::uint32_t>(control.id));
    if (item.windowClass.name != nullptr) {
      out.Text(item.windowClass.name);
    } else {
      out.Ordinal(item.windowClass.ordinal);
    }
    if (control.kind == ControlKind::Icon) {
      out.Ordinal(kApplicationIconId);
    } else {
      out.Text(WideFromCp1252(control.text != nullptr ? control.text : ""));
    }
    out.Word(0);  // no creation data
  }
  return out.Take();
}

}  // namespace azu

#include "framework/data_exchange.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "app/text_table.h"
#include "framework/dialog.h"
#include "framework/exchange_prompts.h"
#include "framework/ip_address_control.h"
#include "framework/message_box.h"

namespace azu {
namespace {

constexpr int Bit(ControlKind kind) {
  return 1 << static_cast<int>(kind);
}

// Blanks around a number, as a Windows-1252 edit holds them (the no-break space too).
bool IsBlank(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f' ||
         static_cast<unsigned char>(ch) == 0xA0;
}

// Digits only, blanks around allowed; nullopt for anything else. Values past 32 bits saturate so
// that they are refused as out of range rather than wrapping.
std::optional<std::uint64_t> ParseUnsigned(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char ch : text) {
    if (ch < '0' || ch > '9') return std::nullopt;
    value = std::min<std::uint64_t>(value * 10 + static_cast<unsigned>(ch - '0'),
                                    std::uint64_t{1} << 33);
  }
  return value;
}

}  // namespace

bool DataExchange::IsKind(int id, int kindMask) const {
  const ControlTemplate* control = dialog_.ControlOf(id);
  return control != nullptr && (Bit(control->kind) & kindMask) != 0 && dialog_.Item(id) != nullptr;
}

void DataExchange::Fail(int id, const std::string& prompt) {
  ShowMessageBox(prompt, kNoticeBox);
  dialog_.FocusItem(id);
  failed_ = true;
}

void DataExchange::Text(int id, std::string& value, int maxChars) {
  if (failed_) return;
  if (IsKind(id, Bit(ControlKind::Static))) {  // a static shows a member's text
    if (save_) {
      value = dialog_.ItemText(id);
    } else {
      dialog_.SetItemText(id, value.c_str());
    }
    return;
  }
  if (!IsKind(id, Bit(ControlKind::Edit))) return;
  if (save_) {
    value = dialog_.ItemText(id);
    if (maxChars > 0 && value.size() > static_cast<std::size_t>(maxChars)) value.resize(maxChars);
  } else {
    if (maxChars > 0) dialog_.LimitText(id, maxChars);
    dialog_.SetItemText(id, value.c_str());
  }
}

void DataExchange::UnsignedNumber(int id, std::uint32_t& value, std::uint32_t min,
                                  std::uint32_t max) {
  if (failed_ || !IsKind(id, Bit(ControlKind::Edit))) return;
  if (!save_) {
    dialog_.SetItemText(id, std::to_string(value).c_str());
    return;
  }
  const auto number = ParseUnsigned(dialog_.ItemText(id));
  const std::string_view language = ProcessTextTable().Language();
  if (!number) {
    Fail(id, NotANumberPrompt(language));
  } else if (*number < min || *number > max) {
    Fail(id, NumberRangePrompt(language, min, max));
  } else {
    value = static_cast<std::uint32_t>(*number);
  }
}

void DataExchange::Radio(int firstId, int& value) {
  if (failed_) return;
  const std::vector<int> group = dialog_.RadioGroup(firstId);
  if (save_) {
    value = -1;
    for (std::size_t i = 0; i < group.size(); ++i) {
      if (dialog_.IsChecked(group[i])) value = static_cast<int>(i);
    }
    return;
  }
  // Out of range checks none of them.
  for (std::size_t i = 0; i < group.size(); ++i) {
    dialog_.SetCheck(group[i], value >= 0 && static_cast<std::size_t>(value) == i);
  }
}

void DataExchange::IPAddress(int id, std::uint32_t& value) {
  if (failed_) return;
  IpAddressControl control = dialog_.IpAddress(id);
  if (!control.IsValid()) return;
  if (save_) {
    value = control.Address();
  } else {
    control.SetAddress(value);
  }
}

}  // namespace azu

#pragma once
// Data exchange between a dialog's members and its controls, in both directions. Saving stops at
// the first field that fails its check: the framework prompts, puts the focus into the field and
// the exchange reports failure.

#include <cstdint>
#include <string>

namespace azu {

class Dialog;

class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool save) : dialog_(dialog), save_(save) {}

  [[nodiscard]] bool Saving() const { return save_; }
  [[nodiscard]] bool Failed() const { return failed_; }

  // Edit or static text (Windows-1252). `maxChars` > 0 limits what an edit takes.
  void Text(int id, std::string& value, int maxChars = 0);
  // Edit holding an unsigned decimal number within [min, max].
  void UnsignedNumber(int id, std::uint32_t& value, std::uint32_t min, std::uint32_t max);
  // Group of radio buttons starting at `firstId`: index of the checked one, -1 for none.
  void Radio(int firstId, int& value);
  // IPv4 address control, first octet in the highest byte.
  void IPAddress(int id, std::uint32_t& value);

 private:
  [[nodiscard]] bool IsKind(int id, int kindMask) const;
  void Fail(int id, const std::string& prompt);

  Dialog& dialog_;
  bool save_;
  bool failed_ = false;
};

}  // namespace azu

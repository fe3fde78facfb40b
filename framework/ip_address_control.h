#pragma once
// The IPv4 address control: four octet fields of up to three digits (0-255) separated by dots.
// Its text is always the strict dotted form ("10.0.0.5"), blank fields reading as 0.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/window_handle.h"

namespace azu {

class IpAddressControl {
 public:
  explicit IpAddressControl(WindowHandle control) : control_(control) {}

  void SetAddress(std::uint32_t address);       // first octet in the highest byte
  [[nodiscard]] std::uint32_t Address() const;  // blank fields count as 0
  [[nodiscard]] std::string Text() const;
  // Takes only strict dotted text; anything else leaves the control unchanged and gives false.
  bool SetText(std::string_view text);
  void Clear();
  [[nodiscard]] bool IsBlank() const;
  [[nodiscard]] bool IsValid() const { return control_ != nullptr; }

 private:
  WindowHandle control_;
};

}  // namespace azu

#include "framework/ip_address_control.h"

#include <windows.h>
#include <commctrl.h>

#include "framework/win32/win32_dialog.h"

namespace azu {

void IpAddressControl::SetAddress(std::uint32_t address) {
  if (control_ != nullptr) SendMessageW(HwndOf(control_), IPM_SETADDRESS, 0, address);
}

std::uint32_t IpAddressControl::Address() const {
  DWORD address = 0;
  if (control_ != nullptr) {
    SendMessageW(HwndOf(control_), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
  }
  return address;  // blank fields read as 0
}

void IpAddressControl::Clear() {
  if (control_ != nullptr) SendMessageW(HwndOf(control_), IPM_CLEARADDRESS, 0, 0);
}

bool IpAddressControl::IsBlank() const {
  return control_ == nullptr || SendMessageW(HwndOf(control_), IPM_ISBLANK, 0, 0) != 0;
}

}  // namespace azu

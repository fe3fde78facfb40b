#include <windows.h>

#include "platform/resource.h"

namespace azu::platform {

std::span<const char> FindRawResource(int id) {
  constexpr WORD kRawData = 10;  // RT_RCDATA, spelled for the ANSI call
  HRSRC const info = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(kRawData));
  if (info == nullptr) return {};
  HGLOBAL const handle = LoadResource(nullptr, info);
  if (handle == nullptr) return {};
  const void* const data = LockResource(handle);
  const DWORD size = SizeofResource(nullptr, info);
  if (data == nullptr || size == 0) return {};
  return {static_cast<const char*>(data), size};
}

}  // namespace azu::platform

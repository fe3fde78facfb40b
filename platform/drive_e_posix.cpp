#include <cstdlib>

#include "platform/drive_e.h"

namespace azu::platform {

namespace {

constexpr const char* kDriveVariable = "AZUQVC_DRIVE_E";

const char* Configured() {
  const char* value = std::getenv(kDriveVariable);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

}  // namespace

std::string_view DriveESource() {
  return Configured() != nullptr ? kDriveVariable : "";
}

std::string DriveE() {
  const char* value = Configured();
  std::string root = value != nullptr ? value : "/mnt/e";
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return root;
}

}  // namespace azu::platform

#include <cstdlib>

#include "platform/drive_e.h"

namespace azu::platform {

std::string DriveE() {
  const char* value = std::getenv("AZUQVC_DRIVE_E");
  std::string root = value != nullptr && *value != '\0' ? value : "/mnt/e";
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return root;
}

}  // namespace azu::platform

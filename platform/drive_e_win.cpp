#include "platform/drive_e.h"

namespace azu::platform {

std::string DriveE() {
  return "E:";
}

std::string_view DriveESource() {
  return "";
}

}  // namespace azu::platform

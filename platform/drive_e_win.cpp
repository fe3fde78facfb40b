#include "platform/drive_e.h"

namespace azu::platform {

std::string DriveE() {
  return "E:";
}

}  // namespace azu::platform

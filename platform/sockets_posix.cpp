#include "platform/sockets.h"

namespace azu::platform {

bool StartSockets() {
  return true;
}

}  // namespace azu::platform

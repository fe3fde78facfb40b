#include <winsock2.h>

#include "platform/sockets.h"

namespace azu::platform {

bool StartSockets() {
  // Version 1.1. Never cleaned up: the end of the process does it.
  WSADATA data{};
  return WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

}  // namespace azu::platform

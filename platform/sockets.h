#pragma once
// Starts the socket layer of the system (Windows Sockets 1.1; nothing to start on POSIX).

namespace azu::platform {

// False when the sockets cannot be started; the program then ends silently.
[[nodiscard]] bool StartSockets();

}  // namespace azu::platform

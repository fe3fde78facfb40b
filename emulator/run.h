#pragma once
// The emulator as a program: binds, announces itself, serves until SIGTERM or SIGINT.

#include "emulator/command_line.h"

namespace azu::emulator {

// Exit status: 0 after a signal stopped it, 1 when it could not start or serve.
int RunEmulator(const Options& options);

}  // namespace azu::emulator

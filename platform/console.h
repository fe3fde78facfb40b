#pragma once
// Where a program without a console of its own writes its lines: a Windows window program started
// from a console writes there, as a console program would; elsewhere the standard streams are
// already where the caller put them.

namespace azu::platform {

// Connects standard output and standard error to the console of the process that started this
// one, unless the caller redirected them or there is no such console.
void UseStartingConsole();

}  // namespace azu::platform

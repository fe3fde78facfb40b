#include "platform/console.h"

namespace azu::platform {

void UseStartingConsole() {}

}  // namespace azu::platform

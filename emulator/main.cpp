// zorne-emulator: a Zorne server stand-in serving a directory tree.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "emulator/command_line.h"
#include "emulator/run.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const azu::emulator::ParsedCommandLine parsed =
      azu::emulator::ParseCommandLine(arguments, std::getenv(azu::emulator::kPasswordVariable));
  for (const std::string& warning : parsed.warnings) {
    std::fprintf(stderr, "zorne-emulator: %s\n", warning.c_str());
  }
  if (!parsed.options) {
    std::fprintf(stderr, "zorne-emulator: %s\n%s", parsed.error.c_str(),
                 azu::emulator::Usage().c_str());
    return 2;
  }
  if (parsed.options->help) {
    std::fputs(azu::emulator::Usage().c_str(), stdout);
    return 0;
  }
  return azu::emulator::RunEmulator(*parsed.options);
}

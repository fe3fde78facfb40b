#pragma once
// What the command line asks for: the main window, the headless watcher, or nothing at all.

#include <cstdint>

namespace azu {

enum class StartMode : std::uint8_t {
  Interactive,  // no argument
  Headless,     // first argument "printerip", in any letter case
  Nothing,      // any other first argument: end silently
};

// Only the first argument counts; later ones are ignored.
StartMode ChooseStartMode(int argc, const char* const* argv);

}  // namespace azu

#pragma once
// The text table linked into the executable where the system has no resources of its own
// (generated from resources/texts.tsv at build time).

#include <span>

namespace azu::platform {

std::span<const char> EmbeddedTextTable();

}  // namespace azu::platform

#pragma once
// The program's own embedded raw-data resources (Windows: FindResourceA/LoadResource on the module;
// elsewhere: blobs linked into the executable).

#include <span>

namespace azu::platform {

// Resource id of the localised text table (raw data "#7777").
inline constexpr int kTextTableResourceId = 7777;

// Bytes of the raw-data resource `id`, valid for the life of the process; empty when missing.
std::span<const char> FindRawResource(int id);

}  // namespace azu::platform

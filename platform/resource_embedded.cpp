#include "platform/embedded_text_table.h"
#include "platform/resource.h"

namespace azu::platform {

std::span<const char> FindRawResource(int id) {
  if (id == kTextTableResourceId) return EmbeddedTextTable();
  return {};
}

}  // namespace azu::platform
